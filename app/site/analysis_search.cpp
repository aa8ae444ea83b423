#include "app/site/analysis_search.h"

#include "app/analysis/toe_finder.h"

namespace zarno::site {

namespace {

// The finder wants a speed for its lengths; the site takes times from it and works out the speed
// afterwards, so any plausible one does.
constexpr double kAnySpeed = 4000.0;

QString KindName(analysis::Anomaly::Kind kind) {
    return kind == analysis::Anomaly::Kind::Reduction ? QStringLiteral("reduction") : QStringLiteral("increase");
}

} // namespace

BlowSearch ProgramBlowSearch() {
    return [](std::span<const double> trace) {
        const auto blow = analysis::FindBlow(trace);
        return blow ? BlowMark{int(blow->index), int(blow->WidthSamples())} : BlowMark{};
    };
}

ToeSearch ProgramToeSearch() {
    return [](std::span<const double> trace, double intervalS) {
        const analysis::ToeResult r = analysis::FindToe(trace, intervalS, kAnySpeed);
        TraceToe toe{r.found, int(r.blowIndex), int(r.index), r.timeMs, r.confidence, {}};
        for (const analysis::Anomaly& a : r.anomalies)
            toe.anomalies.push_back({a.timeMs, KindName(a.kind), a.strength});
        return toe;
    };
}

} // namespace zarno::site
