#pragma once
// What the site asks of the analysis of one trace: where the blow is, and where the toe and the
// echoes before it are. The site is written against these two calls so that its averaging and its
// gates can be driven by any finder; site_analysis.h hands the program's own.

#include <QString>

#include <functional>
#include <span>
#include <vector>

namespace zarno::site {

struct TraceAnomaly {
    double timeMs = 0.0; // after the blow
    QString kind;
    double strength = 0.0;
};

struct TraceToe {
    bool found = false;
    int blowIndex = -1;
    int index = -1;      // sample of the toe reflection in the trace searched
    double timeMs = 0.0; // from the blow to the toe
    double confidence = 0.0;
    std::vector<TraceAnomaly> anomalies;
};

// The blow of a trace: its peak's sample (-1 when none is seen) and the width of its pulse.
struct BlowMark {
    int index = -1;
    int widthSamples = 1;
};
using BlowSearch = std::function<BlowMark(std::span<const double> trace)>;
// The toe of a trace sampled every intervalS seconds.
using ToeSearch = std::function<TraceToe(std::span<const double> trace, double intervalS)>;

} // namespace zarno::site
