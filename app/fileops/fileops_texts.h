#pragma once
// The file operations' messages, and how they are told: in the application's message box.

#include "app/filemanager/selection_texts.h" // kTextNoDirectoryCopy, kTextNoManyDirectoriesDelete
#include "app/formats/convert_ddb_file.h"     // kTextBadFileName, kTextReadFailed, kTextWriteFailed
#include "app/i18n/texts.h"
#include "app/seams/prompts.h"

namespace zarno {

inline constexpr const char* kTextIncorrectFileName = QT_TRANSLATE_NOOP("zarno", "Неправильно задано имя файла!");
inline constexpr const char* kTextNotDdbToSgy = QT_TRANSLATE_NOOP("zarno", "Недопустимо преобразовывать не DDB-файл в SGY-файл!");
inline constexpr const char* kTextDeviceListingFailed = QT_TRANSLATE_NOOP("zarno", "Ошибка в отображении каталога удаленного диска!");
inline constexpr const char* kTextCannotUpload = QT_TRANSLATE_NOOP("zarno", "Невозможно скопировать файл на удаленный диск!");
inline constexpr const char* kTextCannotCopy = QT_TRANSLATE_NOOP("zarno", "Невозможно скопировать файл!");
inline constexpr const char* kTextCannotDeleteDots = QT_TRANSLATE_NOOP("zarno", "Файл '..' удалить нельзя!");
inline constexpr const char* kTextDirectoryNotEmpty =
    QT_TRANSLATE_NOOP("zarno", "В каталоге, по-видимому, есть файлы и его не удалось удалить!");
inline constexpr const char* kTextDeleteFailed = QT_TRANSLATE_NOOP("zarno", "Ошибка при удалении файла!");
inline constexpr const char* kTextDeviceDeleteFailed = QT_TRANSLATE_NOOP("zarno", "Ошибка при стирании файла на удаленном диске!");
inline constexpr const char* kTextPcDeleteFailed = QT_TRANSLATE_NOOP("zarno", "Ошибка при удалении файла на PC!");
inline constexpr const char* kTextBadDirectoryName = QT_TRANSLATE_NOOP("zarno", "Ошибка в имени каталога!");
inline constexpr const char* kTextDeviceMkdirFailed = QT_TRANSLATE_NOOP("zarno", "Ошибка при создании каталога на удаленном диске!");
inline constexpr const char* kTextMkdirFailed = QT_TRANSLATE_NOOP("zarno", "Каталог создать не удалось!");
// The overwrite question's caption and its text around the target's full path.
inline constexpr const char* kCaptionAttention = QT_TRANSLATE_NOOP("zarno", "Внимание!");
inline constexpr const char* kTextFileBefore = QT_TRANSLATE_NOOP("zarno", "Файл ");
inline constexpr const char* kTextExistsOverwrite = QT_TRANSLATE_NOOP("zarno", " уже существует! Переписать?");

inline QString OverwriteQuestion(const QString& targetPath) {
    return Translated(kTextFileBefore) + targetPath + Translated(kTextExistsOverwrite);
}

// A message in the application's own box (no caption of its own).
inline void Tell(Prompts& prompts, const char* text, PromptIcon icon = PromptIcon::None) {
    prompts.message(Translated(text), QString(), icon);
}

// What a dialog does once its operation has run: stay open for the user to correct a name, or close.
enum class DialogOutcome { StayOpen, Close };

} // namespace zarno
