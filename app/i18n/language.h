#pragma once
// The language the program speaks to its user: Russian, the language its texts are written in, or
// English. The desktop's locale chooses it; "--lang ru|en" on the command line overrides that.

#include <QString>

#include <optional>

namespace zarno {

enum class Language { Russian, English };

// "ru" or "en", as "--lang" takes it and as the transport library is told.
const char* LanguageCode(Language language);
// "ru" and "en" (any case); nothing for anything else.
std::optional<Language> ParseLanguageCode(const QString& code);

// The locale's choice, read as message catalogues are: the first set of LANGUAGE (its first entry),
// LC_ALL, LC_MESSAGES, LANG. Russian for "ru" ("ru", "ru_RU.UTF-8", "ru:en"...), English otherwise,
// including an unset or "C" locale.
Language LanguageFromLocale();

// Takes "--lang CODE" or "--lang=CODE" out of the arguments (anywhere before a "--"), so that what is
// left is what the program read before. Nothing when it is not there; when it is there without a
// value or with an unknown one, nothing and *error says why (the caller exits with status 2).
std::optional<Language> TakeLanguageArgument(int& argc, char** argv, QString* error);

// The program's start: the argument when given, else ZARNO_LANGUAGE ("ru" or "en": the choice a
// program passes on to the programs it starts, and what a test pins), else the locale's choice.
Language ChooseLanguage(std::optional<Language> fromArgument);

// Records the choice in ZARNO_LANGUAGE for the rest of the process (the drawing module, whose
// application object is made later) and for the programs it starts.
void RecordLanguage(Language language);
// The recorded choice, if any.
std::optional<Language> RecordedLanguage();

// The transport library reads its language from its own settings; this tells it the program's
// choice instead (through the environment, read when the library is loaded), so that its windows
// speak as the program does. Call before the library is loaded.
void TellTransportLanguage(Language language);

} // namespace zarno
