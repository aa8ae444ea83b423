#pragma once
// The site's wave speed, calibrated on the piles whose length is known: each gives c = 2L / t from
// its toe time; the piles more than maxDeviation from the mean of all are left out and the mean is
// taken again over the rest (once: a second pass would let the rule eat into a site's honest spread).
// Too few piles, or a speed no concrete has, gives a warning; the value stands.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zarno::site {

// The speeds, m/s, an engineer may give a site (on the command line or in its window).
inline constexpr double kLowestSiteVelocity = 1.0;
inline constexpr double kHighestSiteVelocity = 1e5;

struct PileSpeed {
    QString pile;
    double velocity = 0.0;
};

struct ExcludedSpeed {
    QString pile;
    double velocity = 0.0;
    double deviationPct = 0.0; // from the first mean, signed
};

struct VelocityRules {
    double maxDeviation = 0.05;
    int minPiles = 5;
    double lowest = 3000.0;
    double highest = 4500.0;
};

struct Calibration {
    std::optional<double> value; // none without a pile of known length and a toe
    std::vector<QString> used;
    std::vector<ExcludedSpeed> excluded;
    QStringList warnings;
};

// c = 2L / t.
double SpeedFromLength(double knownLengthM, double toeTimeMs);

Calibration CalibrateVelocity(const std::vector<PileSpeed>& speeds, const VelocityRules& rules = {});

} // namespace zarno::site
