#include "app/site/pile_class.h"

#include <algorithm>

namespace zarno::site {

PileClass ProposeClass(bool toeFound, const std::vector<TraceAnomaly>& anomalies, const ClassRules& rules) {
    const bool strong = std::any_of(anomalies.begin(), anomalies.end(), [&](const TraceAnomaly& a) {
        return a.strength >= rules.strongAnomaly;
    });
    if (!toeFound)
        return strong ? PileClass::IV : PileClass::None;
    if (strong)
        return PileClass::III;
    return anomalies.empty() ? PileClass::I : PileClass::II;
}

QString ClassName(PileClass c) {
    switch (c) {
    case PileClass::I:
        return QStringLiteral("I");
    case PileClass::II:
        return QStringLiteral("II");
    case PileClass::III:
        return QStringLiteral("III");
    case PileClass::IV:
        return QStringLiteral("IV");
    case PileClass::None:
        break;
    }
    return {};
}

std::optional<PileClass> ParseClassName(const QString& text) {
    const QString t = text.trimmed().toUpper();
    if (t.isEmpty())
        return PileClass::None;
    for (PileClass c : {PileClass::I, PileClass::II, PileClass::III, PileClass::IV})
        if (t == ClassName(c) || t == QString::number(int(c)))
            return c;
    return std::nullopt;
}

} // namespace zarno::site
