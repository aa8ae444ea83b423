#pragma once
// Messages of the instrument's client that its callers (the copy dialogs, zarno-cli) show too; its
// error boxes have the caption kCaptionError (app/seams/prompts.h).

namespace zarno {

inline constexpr const char* kTextTransportFailed = "Ошибка работы на транспортном уровне!";
inline constexpr const char* kTextDeviceFileNotAccessible = "Файл на удаленном диске не доступен!";
inline constexpr const char* kTextCannotOpenLocal = "Невозможно открыть файл на компьютере!";
inline constexpr const char* kTextLocalWriteFailed = "Ошибка записи блока данных на PC!";

} // namespace zarno
