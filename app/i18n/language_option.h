#pragma once
// "--lang ru|en", as the three programs take it: out of the arguments before anything else reads
// them, a bad value ending the program with status 2.

#include "app/i18n/language.h"

#include <cstdio>
#include <optional>

namespace zarno {

// The language the program starts in, or nothing after a message on standard error when "--lang"
// was given a bad value.
inline std::optional<Language> StartLanguage(const char* program, int& argc, char** argv) {
    QString error;
    const std::optional<Language> given = TakeLanguageArgument(argc, argv, &error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", program, error.toLocal8Bit().constData());
        return std::nullopt;
    }
    return ChooseLanguage(given);
}

} // namespace zarno
