#include "app/site/site_velocity.h"

#include <cmath>

namespace zarno::site {

double SpeedFromLength(double knownLengthM, double toeTimeMs) {
    return 2.0 * knownLengthM / (toeTimeMs / 1000.0);
}

Calibration CalibrateVelocity(const std::vector<PileSpeed>& speeds, const VelocityRules& rules) {
    Calibration c;
    if (speeds.empty()) {
        c.warnings << QStringLiteral("no pile of known length with a toe: the wave speed cannot be calibrated");
        return c;
    }
    double sum = 0.0;
    for (const PileSpeed& s : speeds)
        sum += s.velocity;
    const double first = sum / double(speeds.size());
    double kept = 0.0;
    for (const PileSpeed& s : speeds) {
        const double deviation = (s.velocity - first) / first;
        if (std::abs(deviation) > rules.maxDeviation) {
            c.excluded.push_back({s.pile, s.velocity, deviation * 100.0});
        } else {
            c.used.push_back(s.pile);
            kept += s.velocity;
        }
    }
    if (c.used.empty()) {
        c.warnings << QStringLiteral("every calibration pile is more than %1% from the mean: the wave speed "
                                     "cannot be calibrated")
                          .arg(rules.maxDeviation * 100.0);
        return c;
    }
    const double value = kept / double(c.used.size());
    c.value = value;
    if (int(c.used.size()) < rules.minPiles)
        c.warnings << QStringLiteral("the wave speed rests on %1 pile(s); at least %2 are wanted")
                          .arg(c.used.size())
                          .arg(rules.minPiles);
    if (value < rules.lowest || value > rules.highest)
        c.warnings << QStringLiteral("the wave speed %1 m/s is outside %2–%3 m/s")
                          .arg(value, 0, 'f', 0)
                          .arg(rules.lowest, 0, 'f', 0)
                          .arg(rules.highest, 0, 'f', 0);
    return c;
}

} // namespace zarno::site
