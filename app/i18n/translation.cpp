#include "app/i18n/translation.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
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

} // namespace zarno
