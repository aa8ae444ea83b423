#pragma once
// The file operations' messages, and how they are told: in the application's message box.

#include "app/filemanager/selection_texts.h" // kTextNoDirectoryCopy, kTextNoManyDirectoriesDelete
#include "app/formats/convert_ddb_file.h"     // kTextBadFileName, kTextReadFailed, kTextWriteFailed
#include "app/seams/prompts.h"

namespace zarno {

inline constexpr const char* kTextIncorrectFileName = "Неправильно задано имя файла!";
inline constexpr const char* kTextNotDdbToSgy = "Недопустимо преобразовывать не DDB-файл в SGY-файл!";
inline constexpr const char* kTextDeviceListingFailed = "Ошибка в отображении каталога удаленного диска!";
inline constexpr const char* kTextCannotUpload = "Невозможно скопировать файл на удаленный диск!";
inline constexpr const char* kTextCannotCopy = "Невозможно скопировать файл!";
inline constexpr const char* kTextCannotDeleteDots = "Файл '..' удалить нельзя!";
inline constexpr const char* kTextDirectoryNotEmpty =
    "В каталоге, по-видимому, есть файлы и его не удалось удалить!";
inline constexpr const char* kTextDeleteFailed = "Ошибка при удалении файла!";
inline constexpr const char* kTextDeviceDeleteFailed = "Ошибка при стирании файла на удаленном диске!";
inline constexpr const char* kTextPcDeleteFailed = "Ошибка при удалении файла на PC!";
inline constexpr const char* kTextBadDirectoryName = "Ошибка в имени каталога!";
inline constexpr const char* kTextDeviceMkdirFailed = "Ошибка при создании каталога на удаленном диске!";
inline constexpr const char* kTextMkdirFailed = "Каталог создать не удалось!";
// The overwrite question's caption and its text around the target's full path.
inline constexpr const char* kCaptionAttention = "Внимание!";
inline constexpr const char* kTextFileBefore = "Файл ";
inline constexpr const char* kTextExistsOverwrite = " уже существует! Переписать?";

inline QString OverwriteQuestion(const QString& targetPath) {
    return QString::fromUtf8(kTextFileBefore) + targetPath + QString::fromUtf8(kTextExistsOverwrite);
}

// A message in the application's own box (no caption of its own).
inline void Tell(Prompts& prompts, const char* text, PromptIcon icon = PromptIcon::None) {
    prompts.message(QString::fromUtf8(text), QString(), icon);
}

// What a dialog does once its operation has run: stay open for the user to correct a name, or close.
enum class DialogOutcome { StayOpen, Close };

} // namespace zarno
