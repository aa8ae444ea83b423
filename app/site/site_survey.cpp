#include "app/site/site_survey.h"

#include "app/site/recording.h"
#include "app/site/site_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>
#include <set>

namespace zarno::site {

namespace {

// A name of the folder as the table gives it, or as the folder spells it in another case: recordings
// copied from the instrument's disk come in upper case, while a table may be typed in lower case.
QString PathInFolder(const QDir& dir, const QString& name) {
    const QString exact = dir.filePath(name);
    if (QFileInfo::exists(exact) || name.contains('/'))
        return exact;
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return exact;
}

struct PilePlan {
    QString pile;
    QStringList files;
    QString note;
    std::optional<double> designLengthM;
    std::optional<double> knownLengthM;
    std::optional<double> decidedLengthM;
    PileClass decidedClass = PileClass::None;
};

// One value per pile: the first row that gives it decides; a different one later is named.
void TakeLength(std::optional<double>& value, const std::optional<double>& row, int line, const char* what,
                QStringList& messages) {
    if (!row)
        return;
    if (!value) {
        value = row;
    } else if (*value != *row) {
        messages << QStringLiteral("%1 line %2: %3 %4 differs from the pile's earlier %5; the earlier one is kept")
                        .arg(QString::fromLatin1(kSiteTableName))
                        .arg(line)
                        .arg(QString::fromLatin1(what))
                        .arg(*row)
                        .arg(*value);
    }
}

void TakeClass(PileClass& value, PileClass row, int line, QStringList& messages) {
    if (row == PileClass::None)
        return;
    if (value == PileClass::None) {
        value = row;
    } else if (value != row) {
        messages << QStringLiteral("%1 line %2: decided_class %3 differs from the pile's earlier %4; the earlier one is kept")
                        .arg(QString::fromLatin1(kSiteTableName))
                        .arg(line)
                        .arg(ClassName(row), ClassName(value));
    }
}

std::vector<PilePlan> PlanFromTable(const QString& folder, const SiteTable& table, QStringList& messages) {
    std::vector<PilePlan> plans;
    std::map<QString, std::size_t> byName;
    std::set<QString> named;
    const QDir dir(folder);
    for (const SiteRow& row : table.rows) {
        const QString path = PathInFolder(dir, row.file);
        if (!QFileInfo(path).isFile()) {
            messages << QStringLiteral("%1 line %2: no recording \"%3\" in the folder; the row is left out")
                            .arg(QString::fromLatin1(kSiteTableName))
                            .arg(row.line)
                            .arg(row.file);
            continue;
        }
        named.insert(QFileInfo(path).canonicalFilePath());
        auto [it, fresh] = byName.emplace(row.pile, plans.size());
        if (fresh)
            plans.push_back({row.pile, {}, {}, {}, {}, {}, PileClass::None});
        PilePlan& plan = plans[it->second];
        // The folder may be given relative to the current one: the name kept is the file's within it.
        plan.files << dir.relativeFilePath(QFileInfo(path).absoluteFilePath());
        if (plan.note.isEmpty())
            plan.note = row.note;
        TakeLength(plan.designLengthM, row.designLengthM, row.line, "design_length_m", messages);
        TakeLength(plan.knownLengthM, row.knownLengthM, row.line, "known_length_m", messages);
        TakeLength(plan.decidedLengthM, row.decidedLengthM, row.line, "decided_length_m", messages);
        TakeClass(plan.decidedClass, row.decidedClass, row.line, messages);
    }
    for (const QString& file : RecordingFiles(folder))
        if (!named.count(QFileInfo(dir.filePath(file)).canonicalFilePath()))
            messages << QStringLiteral("%1 is not named in %2; it is left out").arg(file, QString::fromLatin1(kSiteTableName));
    return plans;
}

std::vector<PilePlan> PlanFromFolder(const QString& folder) {
    std::vector<PilePlan> plans;
    for (const QString& file : RecordingFiles(folder))
        plans.push_back({QFileInfo(file).completeBaseName(), {file}, {}, {}, {}, {}, PileClass::None});
    return plans;
}

PileResult StackPile(const QString& folder, const PilePlan& plan, const SiteOptions& options,
                     const BlowSearch& findBlow, const ToeSearch& findToe, QStringList& messages) {
    PileResult pile;
    pile.pile = plan.pile;
    pile.files = plan.files;
    pile.note = plan.note;
    pile.designLengthM = plan.designLengthM;
    pile.knownLengthM = plan.knownLengthM;
    pile.decidedLengthM = plan.decidedLengthM;
    pile.decidedClass = plan.decidedClass;
    std::vector<std::vector<double>> traces;
    for (const QString& file : plan.files) {
        RecordingRead read = ReadRecording(QDir(folder).filePath(file));
        QString problem = read.error;
        if (read.recording && pile.intervalS != 0.0 && read.recording->intervalS != pile.intervalS)
            problem = QStringLiteral("its sample interval differs from the pile's first recording");
        if (!problem.isEmpty()) {
            pile.problems << QStringLiteral("%1: %2").arg(file, problem);
            messages << QStringLiteral("pile %1, %2: %3; left out").arg(plan.pile, file, problem);
            continue;
        }
        pile.intervalS = read.recording->intervalS;
        for (auto& t : read.recording->traces)
            traces.push_back(std::move(t));
    }
    pile.blows = int(traces.size());
    std::vector<std::span<const double>> blows(traces.begin(), traces.end());
    if (!blows.empty())
        pile.stack = StackBlows(blows, pile.intervalS, findBlow, findToe, options.stack);
    return pile;
}

SiteVelocity DecideVelocity(const std::vector<PileResult>& piles, std::optional<double> given,
                            const VelocityRules& rules) {
    std::vector<PileSpeed> speeds;
    for (const PileResult& p : piles)
        if (p.knownLengthM && p.stack.toe.found && p.stack.toe.timeMs > 0.0)
            speeds.push_back({p.pile, SpeedFromLength(*p.knownLengthM, p.stack.toe.timeMs)});
    SiteVelocity v;
    v.calibration = CalibrateVelocity(speeds, rules);
    if (given) {
        v.value = given;
        v.source = VelocitySource::Given;
    } else if (v.calibration.value) {
        v.value = v.calibration.value;
        v.source = VelocitySource::Calibrated;
    }
    return v;
}

void Measure(PileResult& pile, const std::optional<double>& velocity, const ClassRules& rules) {
    pile.lengthM.reset();
    pile.deviationPct.reset();
    pile.anomalies.clear();
    pile.proposedClass = PileClass::None;
    const TraceToe& toe = pile.stack.toe;
    for (const TraceAnomaly& a : toe.anomalies)
        pile.anomalies.push_back({a, velocity ? std::optional(*velocity * a.timeMs / 2000.0) : std::nullopt});
    if (!pile.consistent())
        return;
    pile.proposedClass = ProposeClass(toe.found, toe.anomalies, rules);
    if (!toe.found || !velocity)
        return;
    pile.lengthM = *velocity * toe.timeMs / 2000.0;
    if (pile.designLengthM)
        pile.deviationPct = (*pile.lengthM - *pile.designLengthM) / *pile.designLengthM * 100.0;
}

} // namespace

SiteResult ApplySiteVelocity(SiteResult site, std::optional<double> velocity, const SiteOptions& options) {
    site.velocity = DecideVelocity(site.piles, velocity, options.velocityRules);
    for (PileResult& pile : site.piles)
        Measure(pile, site.velocity.value, options.classes);
    return site;
}

SiteResult SurveySite(const QString& folder, const SiteOptions& options, const BlowSearch& findBlow,
                      const ToeSearch& findToe, const SiteProgress& progress) {
    SiteResult result;
    if (!QFileInfo(folder).isDir()) {
        result.readable = false;
        result.messages << QStringLiteral("%1 is not a folder").arg(folder);
        return result;
    }
    std::vector<PilePlan> plans;
    QFile tableFile(SiteTablePath(folder));
    if (tableFile.exists()) {
        if (!tableFile.open(QIODevice::ReadOnly)) {
            result.readable = false;
            result.messages << QStringLiteral("cannot read %1: %2").arg(tableFile.fileName(), tableFile.errorString());
            return result;
        }
        const SiteTable table = ParseSiteTable(QString::fromUtf8(tableFile.readAll()));
        result.messages << table.messages;
        if (!table.usable) {
            result.readable = false;
            return result;
        }
        plans = PlanFromTable(folder, table, result.messages);
    } else {
        plans = PlanFromFolder(folder);
    }
    for (const PilePlan& plan : plans) {
        result.piles.push_back(StackPile(folder, plan, options, findBlow, findToe, result.messages));
        if (progress)
            progress(int(result.piles.size()), int(plans.size()));
    }
    return ApplySiteVelocity(std::move(result), options.velocity, options);
}

} // namespace zarno::site
