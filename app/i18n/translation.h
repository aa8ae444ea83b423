#pragma once
// The program's texts in the chosen language. The sources are written in Russian; the English
// translation is built into the program (":/i18n/zarno_en.qm"). Qt's own texts (standard buttons,
// context menus) are English at source, so Russian takes Qt's Russian translation.

#include "app/i18n/language.h"

#include <QString>

namespace zarno {

// Makes the language the process's: records it (ZARNO_LANGUAGE), tells the transport library, and
// installs the translators on the application object, now if there is one and otherwise on each one
// made later (the command-line program's commands make their own). Calling it again replaces the
// earlier choice. False when the translation could not be loaded (the texts then stay Russian);
// Qt's own Russian is optional and not counted.
bool UseLanguage(Language language);

// The language in force: the last UseLanguage, else the one recorded in the environment, else
// Russian, the language the texts are written in.
Language CurrentLanguage();

// source (marked in context) in the language asked, whatever language the program speaks: for a
// document made for a reader of the other language. Russian, or a text without its English: the
// source as written.
QString TextIn(Language language, const char* context, const char* source);

// value with the decimals given and no digit grouping, in the language's decimal mark: "3600,00" in
// Russian, "3600.00" in English.
QString NumberIn(Language language, double value, int decimals);

} // namespace zarno
