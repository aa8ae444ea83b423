#pragma once
// The texts of the window commands that both the main menu and the signal viewer's menu offer: the
// same command reads the same in either. Shown through Translated() (app/i18n/texts.h).

#include "app/i18n/texts.h"

namespace zarno {

inline constexpr const char* kTextToggleManager = QT_TRANSLATE_NOOP("zarno", "Отобразить / Скрыть менеджер");
inline constexpr const char* kTextCascade = QT_TRANSLATE_NOOP("zarno", "Окна каскадом");
inline constexpr const char* kTextTile = QT_TRANSLATE_NOOP("zarno", "Растянуть по ширине экрана");
inline constexpr const char* kTextNextWindow = QT_TRANSLATE_NOOP("zarno", "Перейти к следующему окну");
inline constexpr const char* kTextSwitchPanel = QT_TRANSLATE_NOOP("zarno", "Левая/правая панель");

} // namespace zarno
