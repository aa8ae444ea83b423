#include "app/report/report_language.h"

#include <QLocale>
#include <QTranslator>

#include <memory>

namespace zarno {

namespace {

// The English translation built into the program, loaded once on first use. Nothing when it
// cannot be loaded (a program built without it): the report then keeps the texts as written.
const QTranslator* EnglishTranslator() {
    static const std::unique_ptr<QTranslator> translator = [] {
        auto t = std::make_unique<QTranslator>();
        return t->load(QStringLiteral(":/i18n/zarno_en.qm")) ? std::move(t) : nullptr;
    }();
    return translator.get();
}

} // namespace

QString ReportText(Language language, const char* source) {
    if (language == Language::English) {
        if (const QTranslator* english = EnglishTranslator()) {
            const QString text = english->translate("zarno::Report", source);
            if (!text.isEmpty())
                return text;
        }
    }
    return QString::fromUtf8(source);
}

QString ReportNumber(Language language, double value, int decimals) {
    QLocale locale = language == Language::Russian ? QLocale(QLocale::Russian) : QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

} // namespace zarno
