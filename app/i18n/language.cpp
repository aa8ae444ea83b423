#include "app/i18n/language.h"

#include <QByteArray>
#include <QString>

#include <cstring>

namespace zarno {

namespace {

constexpr char kProgramLanguageVariable[] = "ZARNO_LANGUAGE";
// Read by the transport library (transport/localisation.cpp) in preference to its settings.
constexpr char kTransportLanguageVariable[] = "VELNET_LANGUAGE";

// "ru_RU.UTF-8" -> "ru"; "ru:en" -> "ru".
QString LanguagePart(const QByteArray& value) {
    QString text = QString::fromLocal8Bit(value).section(QLatin1Char(':'), 0, 0);
    for (const char separator : {'_', '.', '@', '-'})
        text = text.section(QLatin1Char(separator), 0, 0);
    return text.toLower();
}

} // namespace

const char* LanguageCode(Language language) {
    return language == Language::Russian ? "ru" : "en";
}

std::optional<Language> ParseLanguageCode(const QString& code) {
    const QString lower = code.toLower();
    if (lower == QLatin1String("ru"))
        return Language::Russian;
    if (lower == QLatin1String("en"))
        return Language::English;
    return std::nullopt;
}

Language LanguageFromLocale() {
    for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty())
            return LanguagePart(value) == QLatin1String("ru") ? Language::Russian : Language::English;
    }
    return Language::English;
}

std::optional<Language> TakeLanguageArgument(int& argc, char** argv, QString* error) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--") == 0)
            break;
        int used = 0;
        QString value;
        if (std::strcmp(arg, "--lang") == 0) {
            used = 2;
            if (i + 1 < argc)
                value = QString::fromLocal8Bit(argv[i + 1]);
        } else if (std::strncmp(arg, "--lang=", 7) == 0) {
            used = 1;
            value = QString::fromLocal8Bit(arg + 7);
        } else {
            continue;
        }
        const std::optional<Language> language = ParseLanguageCode(value);
        if (!language) {
            if (error)
                *error = value.isEmpty() ? QStringLiteral("--lang needs a language: ru or en")
                                         : QStringLiteral("unknown language \"%1\" for --lang: use ru or en").arg(value);
            return std::nullopt;
        }
        for (int j = i; j + used <= argc; ++j)
            argv[j] = argv[j + used]; // argv[argc] is the null pointer, which moves down too
        argc -= used;
        return language;
    }
    return std::nullopt;
}

Language ChooseLanguage(std::optional<Language> fromArgument) {
    if (fromArgument)
        return *fromArgument;
    if (const std::optional<Language> recorded = RecordedLanguage())
        return *recorded;
    return LanguageFromLocale();
}

void RecordLanguage(Language language) {
    qputenv(kProgramLanguageVariable, LanguageCode(language));
}

std::optional<Language> RecordedLanguage() {
    return ParseLanguageCode(QString::fromLocal8Bit(qgetenv(kProgramLanguageVariable)));
}

void TellTransportLanguage(Language language) {
    qputenv(kTransportLanguageVariable, LanguageCode(language));
}

} // namespace zarno
