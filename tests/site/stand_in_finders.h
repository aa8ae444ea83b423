#pragma once
// Plain stand-ins for the analysis, for tests of the site's own rules: the blow is the largest
// sample in size, the toe the largest sample from 1 ms after the blow on, and echoes above a third
// of the toe between are anomalies.

#include "app/site/toe_search.h"

#include <algorithm>
#include <cmath>

namespace zarno::testing {

inline int LargestSample(std::span<const double> t) {
    auto it = std::max_element(t.begin(), t.end(), [](double a, double b) { return std::abs(a) < std::abs(b); });
    return int(it - t.begin());
}

inline site::BlowMark LargestMark(std::span<const double> t) {
    return {LargestSample(t), 1};
}

inline site::TraceToe LargestLater(std::span<const double> t, double intervalS) {
    const int blow = LargestSample(t);
    const auto from = std::size_t(blow) + std::size_t(1e-3 / intervalS);
    if (from >= t.size())
        return {};
    auto it = std::max_element(t.begin() + std::ptrdiff_t(from), t.end());
    const int at = int(it - t.begin());
    return {true, blow, at, (at - blow) * intervalS * 1000.0, 1.0, {}};
}

} // namespace zarno::testing
