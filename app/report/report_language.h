#pragma once
// The report's own language. A Russian engineer may make a report for a client who reads English
// (or the other way round), whatever language the program speaks: the report's texts are looked up
// here for the language asked, not through the translator the program installed, and its numbers
// take that language's decimal mark.

#include "app/i18n/language.h"

#include <QString>

namespace zarno {

// source: a text marked QT_TRANSLATE_NOOP("zarno::Report", ...). In Russian, the text as written;
// in English, its translation, or the text as written when the translation is missing.
QString ReportText(Language language, const char* source);

// value with the decimals given and no digit grouping: "3600,00" in Russian, "3600.00" in English.
QString ReportNumber(Language language, double value, int decimals);

} // namespace zarno
