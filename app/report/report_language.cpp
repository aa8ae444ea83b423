#include "app/report/report_language.h"

#include "app/i18n/translation.h"

namespace zarno {

QString ReportText(Language language, const char* source) {
    return TextIn(language, "zarno::Report", source);
}

QString ReportNumber(Language language, double value, int decimals) {
    return NumberIn(language, value, decimals);
}

} // namespace zarno
