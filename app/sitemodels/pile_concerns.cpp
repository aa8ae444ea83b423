#include "app/sitemodels/pile_concerns.h"

#include "app/i18n/translation.h"
#include "app/site/site_outputs.h"

#include <QCoreApplication>

#include <cmath>

namespace zarno::site {

namespace {

// text: marked with QT_TRANSLATE_NOOP in this file's context.
QString Tr(const char* text) {
    return QCoreApplication::translate("zarno::PileConcerns", text);
}

} // namespace

QStringList PileConcerns(const PileResult& pile) {
    QStringList reasons;
    if (!pile.consistent())
        reasons << Tr(QT_TRANSLATE_NOOP("zarno::PileConcerns", "Ни один удар не согласуется с другими"));
    else if (!pile.stack.toe.found)
        reasons << Tr(QT_TRANSLATE_NOOP("zarno::PileConcerns", "Нижний конец сваи не найден"));
    // The length reported (the engineer's, when decided): a decided length near the design clears it.
    if (const std::optional<double> deviation = pile.reportedDeviationPct();
        deviation && std::abs(*deviation) > kLookDeviationPct)
        reasons << Tr(QT_TRANSLATE_NOOP("zarno::PileConcerns", "Длина отличается от проектной на %1%"))
                       .arg(NumberIn(CurrentLanguage(), RoundedForText(*deviation, 1), 1));
    if (pile.reportedClass() == PileClass::III || pile.reportedClass() == PileClass::IV)
        reasons << (pile.decidedClass != PileClass::None ? Tr(QT_TRANSLATE_NOOP("zarno::PileConcerns", "Класс %1")) : Tr(QT_TRANSLATE_NOOP("zarno::PileConcerns", "Предложен класс %1")))
                       .arg(ClassName(pile.reportedClass()));
    if (!pile.stack.rejected.empty())
        reasons << Tr(QT_TRANSLATE_NOOP("zarno::PileConcerns", "Отброшены удары: %1")).arg(RejectedText(pile));
    if (!pile.problems.isEmpty())
        reasons << pile.problems;
    return reasons;
}

} // namespace zarno::site
