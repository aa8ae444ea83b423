#pragma once
// The language of the library's texts. Every text exists in Russian and in English; the value
// "LocalLang" of QSettings("Mervo","Common"), group "Localization", chooses: 1 Russian, anything else
// (missing, not a number) English. The environment variable VELNET_LANGUAGE ("ru" or "en"), which the
// program sets from its own choice, takes precedence. The choice is read once and holds until the
// library is unloaded.

#include <string>

namespace velnet {

struct Text {
    const char* ru;
    const char* en;
};

enum class Language { Russian = 1, English = 2 };

// The language in force; read from the settings on first use.
Language CurrentLanguage();
// Reads the settings again (the library does it once when loaded; tests call it after changing
// XDG_CONFIG_HOME).
void ReloadLanguage();
// The raw "LocalLang" value as the library reads it: 2 when missing or not a number.
int ReadLocalLangValue();

const char* Tr(const Text& text);

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace velnet
