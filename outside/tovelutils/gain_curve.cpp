#include "outside/tovelutils/gain_curve.h"
#include "outside/tovelutils/tovel_utils.h"

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

extern "C" int32_t TovelUtils1(int32_t first, int32_t second, int32_t ns, int32_t, int32_t, double* curve) {
    if (ns < 1 || !curve)
        return 0;
    tovel::FillCurve(first, second, curve, ns);
    return 1;
}
