#include "outside/tovelutils/gain_curve.h"

#include <algorithm>
#include <cmath>

namespace tovel {

void FillCurve(int32_t endDb, int32_t startPercent, double* curve, int32_t ns) {
    const double db = std::clamp(endDb, 0, kMaxEndDb);
    const int64_t start = int64_t{ns} * std::clamp(startPercent, 0, kMaxStartPercent) / 100;
    const int64_t rise = std::max<int64_t>(int64_t{ns} - 1 - start, 1);
    for (int64_t k = 0; k < ns; ++k) {
        const double share = k <= start ? 0.0 : static_cast<double>(k - start) / static_cast<double>(rise);
        curve[k] = std::pow(10.0, db * share / 20.0);
    }
}

} // namespace tovel
