#pragma once
// Messages of the instrument's client that its callers (the copy dialogs, zarno-cli) show too.

namespace zarno {

// The caption of the client's error boxes.
inline constexpr const char* kCaptionError = "Error!";
inline constexpr const char* kTextTransportFailed = "Ошибка работы на транспортном уровне!";
inline constexpr const char* kTextDeviceFileNotAccessible = "Файл на удаленном диске не доступен!";
inline constexpr const char* kTextCannotOpenLocal = "Невозможно открыть файл на компьютере!";
inline constexpr const char* kTextLocalWriteFailed = "Ошибка записи блока данных на PC!";

} // namespace zarno
