#pragma once
// What the desktop program opens when it is started with a file, as a desktop's file manager does on
// a double click: a SEG-Y recording as it is; an instrument recording (".ddb") once the user agreed
// to its conversion into a SEG-Y file beside it, which is then opened.

#include "app/i18n/texts.h"

#include <QString>

namespace zarno {

class Prompts;

inline constexpr const char* kTextConvertBeforeOpening = QT_TRANSLATE_NOOP("zarno", "Преобразовать запись %1 в файл SEG-Y %2 и открыть его?");
inline constexpr const char* kTextConvertReplaces = QT_TRANSLATE_NOOP("zarno", "Преобразовать запись %1 в файл SEG-Y %2 и открыть его?\n"
                                                                      "Существующий файл %2 будет заменён.");
inline constexpr const char* kTextNotARecording = QT_TRANSLATE_NOOP("zarno", "Файл %1 не является записью SEG-Y или DDB и не может быть открыт.");

// The SEG-Y file to open in the signal viewer for `path` (made absolute), or an empty string when
// nothing is to be opened: the user declined the conversion, the conversion failed (it has said
// why), or the file is neither kind of recording (said here).
QString RecordingToOpen(const QString& path, Prompts& prompts);

} // namespace zarno
