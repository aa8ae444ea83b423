#pragma once
// The texts of the window commands that both the main menu and the signal viewer's menu offer: the
// same command reads the same in either.

#include <QString>

namespace zarno {

inline const QString kTextToggleManager = QStringLiteral("Отобразить / Скрыть менеджер");
inline const QString kTextCascade = QStringLiteral("Окна каскадом");
inline const QString kTextTile = QStringLiteral("Растянуть по ширине экрана");
inline const QString kTextNextWindow = QStringLiteral("Перейти к следующему окну");
inline const QString kTextSwitchPanel = QStringLiteral("Левая/правая панель");

} // namespace zarno
