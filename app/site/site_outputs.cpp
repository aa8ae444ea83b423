#include "app/site/site_outputs.h"

#include "app/i18n/translation.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace zarno::site {

namespace {

QString Number(double v, int decimals, bool decimalComma) {
    QString t = QString::number(RoundedForText(v, decimals), 'f', decimals);
    if (decimalComma)
        t.replace('.', ',');
    return t;
}

QString Optional(const std::optional<double>& v, int decimals, bool decimalComma, const QString& none = {}) {
    return v ? Number(*v, decimals, decimalComma) : none;
}

QJsonValue JsonNumber(const std::optional<double>& v) {
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

QJsonArray JsonStrings(const auto& list) {
    QJsonArray out;
    for (const QString& s : list)
        out.append(s);
    return out;
}

QJsonObject VelocityJson(const SiteVelocity& v) {
    QJsonArray excluded;
    for (const ExcludedSpeed& e : v.calibration.excluded)
        excluded.append(QJsonObject{{"pile", e.pile}, {"velocity", e.velocity}, {"deviation_pct", e.deviationPct}});
    return QJsonObject{{"value", JsonNumber(v.value)},
                       {"source", VelocitySourceName(v.source)},
                       {"calibrated", JsonNumber(v.calibration.value)},
                       {"used", JsonStrings(v.calibration.used)},
                       {"excluded", excluded},
                       {"warnings", JsonStrings(v.calibration.warnings)}};
}

QJsonObject PileJson(const PileResult& p) {
    QJsonArray rejected;
    for (const RejectedBlow& r : p.stack.rejected)
        rejected.append(r.blow + 1);
    QJsonArray anomalies;
    for (const PileAnomaly& a : p.anomalies)
        anomalies.append(QJsonObject{{"time_ms", a.found.timeMs},
                                     {"depth_m", JsonNumber(a.depthM)},
                                     {"kind", a.found.kind},
                                     {"strength", a.found.strength}});
    const TraceToe& t = p.stack.toe;
    const QJsonValue toe = t.found ? QJsonValue(QJsonObject{{"index", t.index},
                                                            {"blow_index", t.blowIndex},
                                                            {"time_ms", t.timeMs},
                                                            {"confidence", t.confidence}})
                                   : QJsonValue(QJsonValue::Null);
    auto jsonClass = [](PileClass c) {
        const QString name = ClassName(c);
        return name.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(name);
    };
    return QJsonObject{{"pile", p.pile},
                       {"files", JsonStrings(p.files)},
                       {"blows", p.blows},
                       {"blows_used", int(p.stack.used.size())},
                       {"rejected", rejected},
                       {"toe", toe},
                       {"length_m", JsonNumber(p.reportedLengthM())},
                       {"measured_length_m", JsonNumber(p.lengthM)},
                       {"decided_length_m", JsonNumber(p.decidedLengthM)},
                       {"design_length_m", JsonNumber(p.designLengthM)},
                       {"deviation_pct", JsonNumber(p.reportedDeviationPct())},
                       {"anomalies", anomalies},
                       {"class", jsonClass(p.reportedClass())},
                       {"proposed_class", jsonClass(p.proposedClass)},
                       {"decided_class", jsonClass(p.decidedClass)},
                       {"problems", JsonStrings(p.problems)}};
}

// A field of the table, quoted when it holds the separator, a quote or a line break.
QString CsvField(const QString& text, QChar separator) {
    if (!text.contains(separator) && !text.contains('"') && !text.contains('\n') && !text.contains('\r'))
        return text;
    QString quoted = text;
    quoted.replace('"', QStringLiteral("\"\""));
    return '"' + quoted + '"';
}

QString ToeMs(const PileResult& p, bool decimalComma) {
    return p.stack.toe.found ? Number(p.stack.toe.timeMs, 3, decimalComma) : QString();
}

// The proposal, none when nothing can be proposed, or why there is no trace to propose from.
QString ProposedClassText(const PileResult& p, const QString& none) {
    if (!p.consistent())
        return QStringLiteral("no consistent blow");
    const QString c = ClassName(p.proposedClass);
    return c.isEmpty() ? none : c;
}

bool AnyDecision(const SiteResult& site) {
    for (const PileResult& p : site.piles)
        if (p.decidedLengthM || p.decidedClass != PileClass::None)
            return true;
    return false;
}

} // namespace

double RoundedForText(double v, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double r = std::round(v * scale) / scale;
    return r == 0.0 ? 0.0 : r; // never "-0.0"
}

QString VelocitySourceName(VelocitySource source) {
    switch (source) {
    case VelocitySource::Given:
        return QStringLiteral("given");
    case VelocitySource::Calibrated:
        return QStringLiteral("calibrated");
    case VelocitySource::None:
        break;
    }
    return QStringLiteral("none");
}

QString VelocityText(const SiteVelocity& v) {
    const Calibration& c = v.calibration;
    QString calibrated = c.value ? QStringLiteral("calibrated %1 m/s on %2 pile(s)")
                                       .arg(*c.value, 0, 'f', 0)
                                       .arg(c.used.size())
                                 : QStringLiteral("no calibration");
    if (v.source == VelocitySource::Given)
        return QStringLiteral("wave speed %1 m/s (given; %2)").arg(*v.value, 0, 'f', 0).arg(calibrated);
    if (v.source == VelocitySource::Calibrated)
        return QStringLiteral("wave speed %1 m/s (%2)").arg(*v.value, 0, 'f', 0).arg(calibrated);
    return QStringLiteral("no wave speed: no lengths (give --velocity, or known lengths in site.csv)");
}

QString RejectedText(const PileResult& pile) {
    QStringList numbers;
    for (const RejectedBlow& r : pile.stack.rejected)
        numbers << QString::number(r.blow + 1);
    return numbers.join(QStringLiteral(", "));
}

QString ReportedLengthText(const PileResult& pile, bool decimalComma, const QString& none) {
    const QString mark = pile.decidedLengthM ? QString::fromLatin1(kDecidedMark) : QString();
    return Optional(pile.reportedLengthM(), 2, decimalComma, none) + (pile.reportedLengthM() ? mark : QString());
}

QString ReportedClassText(const PileResult& pile, const QString& none) {
    if (pile.decidedClass != PileClass::None)
        return ClassName(pile.decidedClass) + QString::fromLatin1(kDecidedMark);
    return ProposedClassText(pile, none);
}

QString AnomaliesText(const PileResult& pile, bool decimalComma) {
    QStringList parts;
    for (const PileAnomaly& a : pile.anomalies) {
        const QString where = a.depthM ? Number(*a.depthM, 2, decimalComma) + QStringLiteral(" m")
                                       : Number(a.found.timeMs, 3, decimalComma) + QStringLiteral(" ms");
        parts << QStringLiteral("%1 %2 %3").arg(where, a.found.kind, Number(a.found.strength, 2, decimalComma));
    }
    return parts.join(QStringLiteral(" / "));
}

QString AnomalyKindText(Language language, const QString& kind) {
    if (kind == QLatin1String("reduction"))
        return TextIn(language, "zarno::site::Anomalies", QT_TRANSLATE_NOOP("zarno::site::Anomalies", "сужение"));
    if (kind == QLatin1String("increase"))
        return TextIn(language, "zarno::site::Anomalies", QT_TRANSLATE_NOOP("zarno::site::Anomalies", "уширение"));
    return kind;
}

QString AnomaliesTextIn(Language language, const PileResult& pile) {
    QStringList parts;
    for (const PileAnomaly& a : pile.anomalies) {
        const char* form = a.depthM ? QT_TRANSLATE_NOOP("zarno::site::Anomalies", "%1 м %2 %3")
                                    : QT_TRANSLATE_NOOP("zarno::site::Anomalies", "%1 мс %2 %3");
        const QString where = a.depthM ? NumberIn(language, RoundedForText(*a.depthM, 2), 2)
                                       : NumberIn(language, RoundedForText(a.found.timeMs, 3), 3);
        parts << TextIn(language, "zarno::site::Anomalies", form)
                     .arg(where, AnomalyKindText(language, a.found.kind),
                          NumberIn(language, RoundedForText(a.found.strength, 2), 2));
    }
    return parts.join(QStringLiteral(" / "));
}

QByteArray SiteTableText(const SiteResult& site) {
    QString out = VelocityText(site.velocity) + '\n';
    for (const ExcludedSpeed& e : site.velocity.calibration.excluded)
        out += QStringLiteral("  left out of the calibration: %1 (%2 m/s, %3%)\n")
                   .arg(e.pile)
                   .arg(e.velocity, 0, 'f', 0)
                   .arg(e.deviationPct, 0, 'f', 1);
    for (const QString& w : site.velocity.calibration.warnings)
        out += QStringLiteral("  warning: %1\n").arg(w);
    out += QStringLiteral("%1 %2 %3 %4 %5 %6 %7  %8\n")
               .arg(QStringLiteral("pile"), -12)
               .arg(QStringLiteral("blows"), 7)
               .arg(QStringLiteral("toe ms"), 8)
               .arg(QStringLiteral("length"), 8)
               .arg(QStringLiteral("design"), 8)
               .arg(QStringLiteral("dev %"), 7)
               .arg(QStringLiteral("class*"), 6)
               .arg(QStringLiteral("anomalies; rejected blows"));
    for (const PileResult& p : site.piles) {
        QString tail = AnomaliesText(p, false);
        if (!p.stack.rejected.empty())
            tail += (tail.isEmpty() ? QString() : QStringLiteral("; ")) + QStringLiteral("rejected ") + RejectedText(p);
        out += QStringLiteral("%1 %2 %3 %4 %5 %6 %7  %8\n")
                   .arg(p.pile, -12)
                   .arg(QStringLiteral("%1/%2").arg(p.stack.used.size()).arg(p.blows), 7)
                   .arg(p.stack.toe.found ? ToeMs(p, false) : QStringLiteral("-"), 8)
                   .arg(ReportedLengthText(p, false, QStringLiteral("-")), 8)
                   .arg(Optional(p.designLengthM, 2, false, QStringLiteral("-")), 8)
                   .arg(Optional(p.reportedDeviationPct(), 1, false, QStringLiteral("-")), 7)
                   .arg(ReportedClassText(p, QStringLiteral("-")), 6)
                   .arg(tail);
    }
    out += QStringLiteral("* proposed class: the engineer decides\n");
    if (AnyDecision(site))
        out += QStringLiteral("%1 the engineer's decision\n").arg(QString::fromLatin1(kDecidedMark));
    return out.toUtf8();
}

QByteArray SiteJson(const SiteResult& site) {
    QJsonArray piles;
    for (const PileResult& p : site.piles)
        piles.append(PileJson(p));
    const QJsonObject root{{"velocity", VelocityJson(site.velocity)},
                           {"piles", piles},
                           {"messages", JsonStrings(site.messages)}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray SiteCsv(const SiteResult& site, Language language) {
    const bool comma = language == Language::Russian;
    const QChar separator = comma ? QChar(';') : QChar(',');
    QStringList lines;
    lines << QStringLiteral("pile;files;blows;blows_used;rejected_blows;toe_ms;velocity_m_s;length_m;"
                            "design_length_m;deviation_pct;anomalies;proposed_class;note;decided_length_m;decided_class")
                 .replace(';', separator);
    const QString velocity = Optional(site.velocity.value, 0, comma);
    for (const PileResult& p : site.piles) {
        const QStringList fields{p.pile,
                                 p.files.join(QStringLiteral(", ")),
                                 QString::number(p.blows),
                                 QString::number(p.stack.used.size()),
                                 RejectedText(p),
                                 ToeMs(p, comma),
                                 p.lengthM ? velocity : QString(),
                                 Optional(p.reportedLengthM(), 2, comma),
                                 Optional(p.designLengthM, 2, comma),
                                 Optional(p.reportedDeviationPct(), 1, comma),
                                 AnomaliesText(p, comma),
                                 ProposedClassText(p, QStringLiteral("-")),
                                 p.note,
                                 Optional(p.decidedLengthM, 2, comma),
                                 ClassName(p.decidedClass)};
        QStringList cells;
        for (const QString& f : fields)
            cells << CsvField(f, separator);
        lines << cells.join(separator);
    }
    return QByteArray("\xEF\xBB\xBF") + (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

} // namespace zarno::site
