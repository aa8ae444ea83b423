#include "app/i18n/translation.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace zarno {

namespace {

struct Installed {
    std::unique_ptr<QTranslator> program;
    std::unique_ptr<QTranslator> qt;
};

Installed& State() {
    static Installed state;
    return state;
}

void Remove(std::unique_ptr<QTranslator>& translator) {
    if (translator && QCoreApplication::instance())
        QCoreApplication::removeTranslator(translator.get());
    translator.reset();
}

std::unique_ptr<QTranslator> Load(const QString& name, const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder) || !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator;
}

bool Install(Language language) {
    Installed& state = State();
    Remove(state.program);
    Remove(state.qt);
    if (language == Language::Russian) {
        state.qt = Load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        return true;
    }
    state.program = Load(QStringLiteral("zarno_en"), QStringLiteral(":/i18n"));
    return state.program != nullptr;
}

// Every application object made after the choice gets its translators (Qt calls this as each one is
// constructed). A process that made no choice keeps the texts as written.
void InstallForNewApplication() {
    if (const std::optional<Language> recorded = RecordedLanguage())
        Install(*recorded);
}

// The English translation built into the program, loaded once on first use. Nothing when it
// cannot be loaded (a program built without it): the texts then stay as written.
const QTranslator* EnglishTranslator() {
    static const std::unique_ptr<QTranslator> translator = [] {
        auto t = std::make_unique<QTranslator>();
        return t->load(QStringLiteral(":/i18n/zarno_en.qm")) ? std::move(t) : nullptr;
    }();
    return translator.get();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallForNewApplication)

bool UseLanguage(Language language) {
    RecordLanguage(language);
    TellTransportLanguage(language);
    if (!QCoreApplication::instance()) // installed when the application object is made
        return language == Language::Russian || QFile::exists(QStringLiteral(":/i18n/zarno_en.qm"));
    return Install(language);
}

Language CurrentLanguage() {
    return RecordedLanguage().value_or(Language::Russian);
}

QString TextIn(Language language, const char* context, const char* source) {
    if (language == Language::English) {
        if (const QTranslator* english = EnglishTranslator()) {
            const QString text = english->translate(context, source);
            if (!text.isEmpty())
                return text;
        }
    }
    return QString::fromUtf8(source);
}

QString NumberIn(Language language, double value, int decimals) {
    QLocale locale = language == Language::Russian ? QLocale(QLocale::Russian) : QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

} // namespace zarno
