#pragma once
// An independent statement of the automatic reflection search (arrival index, normalized
// autocorrelation, first negative lag, strongest repetition after it), used to check that the
// synthetic recordings carry the pile lengths they claim.

#include <algorithm>
#include <cmath>
#include <vector>

namespace zarno::device {

inline int AutomaticReflectionIndex(const std::vector<double>& x) {
    const int n = static_cast<int>(x.size());
    if (n == 0)
        return 0;
    int absMax = 0, max = 0;
    for (int i = 1; i < n; ++i) {
        if (std::abs(x[static_cast<size_t>(i)]) > std::abs(x[static_cast<size_t>(absMax)]))
            absMax = i;
        if (x[static_cast<size_t>(i)] > x[static_cast<size_t>(max)])
            max = i;
    }
    const int u = std::min(absMax, max);
    std::vector<double> r(x.size(), 0);
    for (int k = 0; k < n; ++k)
        for (int j = 0; j + k < n; ++j)
            r[static_cast<size_t>(k)] += x[static_cast<size_t>(j)] * x[static_cast<size_t>(j + k)];
    const double r0 = r[0] == 0 ? 1 : r[0];
    for (double& v : r)
        v /= r0;
    int v = u;
    while (v < n && r[static_cast<size_t>(v)] >= 0)
        ++v;
    if (v == n)
        v = u;
    int w = v;
    for (int i = v + 1; i < n; ++i)
        if (r[static_cast<size_t>(i)] > r[static_cast<size_t>(w)])
            w = i;
    return w;
}

} // namespace zarno::device
