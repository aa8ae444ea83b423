#include "app/sitemodels/pile_concerns.h"

#include "app/site/site_outputs.h"

#include <QCoreApplication>

#include <cmath>

namespace zarno::site {

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("zarno::PileConcerns", text);
}

} // namespace

QStringList PileConcerns(const PileResult& pile) {
    QStringList reasons;
    if (!pile.consistent())
        reasons << Tr("Ни один удар не согласуется с другими");
    else if (!pile.stack.toe.found)
        reasons << Tr("Нижний конец сваи не найден");
    if (pile.deviationPct && std::abs(*pile.deviationPct) > kLookDeviationPct)
        reasons << Tr("Длина отличается от проектной на %1%")
                       .arg(QString::number(RoundedForText(*pile.deviationPct, 1), 'f', 1));
    if (pile.reportedClass() == PileClass::III || pile.reportedClass() == PileClass::IV)
        reasons << (pile.decidedClass != PileClass::None ? Tr("Класс %1") : Tr("Предложен класс %1"))
                       .arg(ClassName(pile.reportedClass()));
    if (!pile.stack.rejected.empty())
        reasons << Tr("Отброшены удары: %1").arg(RejectedText(pile));
    if (!pile.problems.isEmpty())
        reasons << pile.problems;
    return reasons;
}

} // namespace zarno::site
