#pragma once
// The blows of one pile made into one trace: each blow is aligned on its blow sample, scaled by the
// size of its blow (keeping its sign, so that a reversed sensor shows as a reversed trace) and the
// consistent ones are averaged. A blow is consistent when it correlates with the mean of the other
// blows at least minCorrelation over the pile's record, from the blow to 1 ms past the toe found on
// the mean. The least consistent blow is left out first and the test is made again on the rest, so
// that one bad blow does not drag good ones out with it. Two blows that disagree cannot be told
// apart: both are left out, and the pile has no consistent blow.

#include "app/site/toe_search.h"

#include <cmath>
#include <limits>
#include <span>
#include <vector>

namespace zarno::site {

struct BlowStackOptions {
    double minCorrelation = 0.9;
    double pastToeS = 0.001;
};

struct RejectedBlow {
    int blow = 0; // 0-based, in the order given
    // Correlation with the other blows when it was left out; NaN when the blow was left out before
    // (no blow seen in it).
    double correlation = std::numeric_limits<double>::quiet_NaN();
};

struct BlowStack {
    std::vector<double> average; // empty when no blow is consistent
    int blowIndex = 0;           // the blow's sample in average and in every one of blows
    std::vector<int> used;       // 0-based blows averaged
    // Each blow in which a blow was seen, aligned and scaled as it went into the average (so that
    // it can be drawn behind it), whether it was averaged or left out; blowOf names its blow.
    std::vector<std::vector<double>> blows;
    std::vector<int> blowOf;
    std::vector<RejectedBlow> rejected;
    TraceToe toe; // found on average
};

BlowStack StackBlows(const std::vector<std::span<const double>>& blows, double intervalS,
                     const BlowSearch& findBlow, const ToeSearch& findToe, const BlowStackOptions& options = {});

// Pearson correlation of a and b over [from, to); 0 when either is flat there.
double Correlation(std::span<const double> a, std::span<const double> b, std::size_t from, std::size_t to);

} // namespace zarno::site
