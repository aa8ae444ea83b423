#pragma once
// A site from its folder to its table: the piles (from "site.csv", or one per recording without it),
// each pile's blows stacked into one trace, the toe found on it, the site's wave speed (given, or
// calibrated on the piles of known length), and per pile the length, its deviation from the design
// length, the anomalies with their depths and a proposed class.

#include "app/site/blow_stack.h"
#include "app/site/pile_class.h"
#include "app/site/site_velocity.h"
#include "app/site/toe_search.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace zarno::site {

struct SiteOptions {
    std::optional<double> velocity; // fixes the speed; the calibrated one is still worked out
    BlowStackOptions stack;
    VelocityRules velocityRules;
    ClassRules classes;
};

struct PileAnomaly {
    TraceAnomaly found;
    std::optional<double> depthM; // with a site speed
};

struct PileResult {
    QString pile;
    QStringList files;
    QString note;
    std::optional<double> designLengthM;
    std::optional<double> knownLengthM;
    double intervalS = 0.0;
    int blows = 0;
    BlowStack stack; // used and rejected blows are 0-based here
    QStringList problems; // files that could not be read, with the reason
    // With the site speed:
    std::optional<double> lengthM;
    std::optional<double> deviationPct;
    std::vector<PileAnomaly> anomalies;
    PileClass proposedClass = PileClass::None;
    // The engineer's decisions, kept in site.csv; they stand whatever the speed.
    std::optional<double> decidedLengthM;
    PileClass decidedClass = PileClass::None;

    bool consistent() const { return !stack.used.empty(); }
    // What the outputs give: the engineer's decision where there is one, else what was measured.
    std::optional<double> reportedLengthM() const { return decidedLengthM ? decidedLengthM : lengthM; }
    PileClass reportedClass() const { return decidedClass != PileClass::None ? decidedClass : proposedClass; }
    // The reported length's deviation from the design length, in percent.
    std::optional<double> reportedDeviationPct() const {
        const std::optional<double> length = reportedLengthM();
        if (!length || !designLengthM)
            return std::nullopt;
        return (*length - *designLengthM) / *designLengthM * 100.0;
    }
};

enum class VelocitySource { Given, Calibrated, None };

struct SiteVelocity {
    std::optional<double> value; // what the lengths use
    VelocitySource source = VelocitySource::None;
    Calibration calibration; // worked out whatever the source
};

struct SiteResult {
    bool readable = true; // false when the folder or its site.csv cannot be read at all
    QStringList messages; // rows and files left out, and why
    SiteVelocity velocity;
    std::vector<PileResult> piles;
};

// Called after each pile is stacked: piles done, piles in all.
using SiteProgress = std::function<void(int done, int total)>;

// The site again at another speed: velocity set by hand, or the calibrated one with nullopt. Every
// pile's length, deviation, anomaly depths and proposed class are worked out anew from its stacked
// trace; nothing is read or stacked again. The survey's own last step.
SiteResult ApplySiteVelocity(SiteResult site, std::optional<double> velocity, const SiteOptions& options);

SiteResult SurveySite(const QString& folder, const SiteOptions& options, const BlowSearch& findBlow,
                      const ToeSearch& findToe, const SiteProgress& progress = {});

} // namespace zarno::site
