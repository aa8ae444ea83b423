#pragma once
// Messages of the instrument's client that its callers (the copy dialogs, zarno-cli) show too; its
// error boxes have the caption kCaptionError (app/seams/prompts.h).

#include "app/i18n/texts.h"

namespace zarno {

inline constexpr const char* kTextTransportFailed = QT_TRANSLATE_NOOP("zarno", "Ошибка работы на транспортном уровне!");
inline constexpr const char* kTextDeviceFileNotAccessible = QT_TRANSLATE_NOOP("zarno", "Файл на удаленном диске не доступен!");
inline constexpr const char* kTextCannotOpenLocal = QT_TRANSLATE_NOOP("zarno", "Невозможно открыть файл на компьютере!");
inline constexpr const char* kTextLocalWriteFailed = QT_TRANSLATE_NOOP("zarno", "Ошибка записи блока данных на PC!");

} // namespace zarno
