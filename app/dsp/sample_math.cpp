#include "app/dsp/sample_math.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zarno::dsp {

namespace {

constexpr double kSmallestInterval = 1e-15;

double NormaliseInterval(double dt) {
    dt = std::fabs(dt);
    return dt == 0.0 ? kSmallestInterval : dt;
}

int32_t TruncateToIndex(double v) {
    if (!(v >= 0.0)) // NaN included
        return 0;
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

// First index whose value "beats" every earlier one; beats(a, b) says a strictly wins over b.
template <typename Beats> int32_t IndexOfBest(std::span<const double> x, Beats beats) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < x.size(); ++i)
        if (beats(x[i], x[best]))
            best = i;
    return static_cast<int32_t>(best);
}

// The subarray [a, b] clamped to x, or an empty one starting at a.
struct Range {
    int32_t a = 0;
    std::span<const double> sub;
    bool none = false; // b was negative
};

Range Clamp(std::span<const double> x, int32_t a, int32_t b) {
    Range r;
    if (b < 0) {
        r.none = true;
        return r;
    }
    r.a = std::max(a, 0);
    const int64_t last = std::min<int64_t>(b, static_cast<int64_t>(x.size()) - 1);
    if (last >= r.a)
        r.sub = x.subspan(static_cast<std::size_t>(r.a), static_cast<std::size_t>(last - r.a + 1));
    return r;
}

template <typename Search> int32_t InRange(std::span<const double> x, int32_t a, int32_t b, Search search) {
    const Range r = Clamp(x, a, b);
    if (r.none)
        return 0;
    return r.a + search(r.sub);
}

double ValueAt(std::span<const double> x, int32_t i) {
    return i >= 0 && static_cast<std::size_t>(i) < x.size() ? x[static_cast<std::size_t>(i)] : 0.0;
}

} // namespace

double TimeOfSample(double t0, int32_t n, double dt) {
    if (n < 0)
        n = 0;
    if (t0 < 0.0)
        t0 = 0.0;
    return n * NormaliseInterval(dt) + t0;
}

double LengthOfSample(double t0, int32_t n, double V, double dt) {
    return LengthOfTime(TimeOfSample(t0, n, dt), V);
}

int32_t SampleOfTime(double t0, double t, double dt) {
    if (t0 < 0.0)
        t0 = 0.0;
    if (t < 0.0)
        t = 0.0;
    return TruncateToIndex(std::fabs(t - t0) / NormaliseInterval(dt));
}

int32_t SampleOfLength(double t0, double L, double V, double dt) {
    if (V == 0.0)
        return 0;
    return SampleOfTime(t0, 2.0 * L / std::fabs(V), dt);
}

double LengthOfTime(double t, double V) {
    if (V == 0.0)
        return 0.0;
    if (t < 0.0)
        t = 0.0;
    return t * std::fabs(V) / 2.0;
}

int32_t IndexOfMax(std::span<const double> x) {
    return IndexOfBest(x, [](double a, double b) { return a > b; });
}

int32_t IndexOfMin(std::span<const double> x) {
    return IndexOfBest(x, [](double a, double b) { return a < b; });
}

int32_t IndexOfAbsMax(std::span<const double> x) {
    return IndexOfBest(x, [](double a, double b) { return std::fabs(a) > std::fabs(b); });
}

int32_t IndexOfFirstNegative(std::span<const double> x) {
    for (std::size_t i = 0; i < x.size(); ++i)
        if (x[i] < 0.0)
            return static_cast<int32_t>(i);
    return 0;
}

double MaxValue(std::span<const double> x) {
    return ValueAt(x, IndexOfMax(x));
}
double MinValue(std::span<const double> x) {
    return ValueAt(x, IndexOfMin(x));
}

int32_t IndexOfMax(std::span<const double> x, int32_t a, int32_t b) {
    return InRange(x, a, b, [](std::span<const double> s) { return IndexOfMax(s); });
}

int32_t IndexOfMin(std::span<const double> x, int32_t a, int32_t b) {
    return InRange(x, a, b, [](std::span<const double> s) { return IndexOfMin(s); });
}

int32_t IndexOfAbsMax(std::span<const double> x, int32_t a, int32_t b) {
    return InRange(x, a, b, [](std::span<const double> s) { return IndexOfAbsMax(s); });
}

int32_t IndexOfFirstNegative(std::span<const double> x, int32_t a, int32_t b) {
    return InRange(x, a, b, [](std::span<const double> s) { return IndexOfFirstNegative(s); });
}

double MaxValue(std::span<const double> x, int32_t a, int32_t b) {
    return ValueAt(x, IndexOfMax(x, a, b));
}
double MinValue(std::span<const double> x, int32_t a, int32_t b) {
    return ValueAt(x, IndexOfMin(x, a, b));
}

SampleWindow ExtremumWindow(const ExtremumSearch& s) {
    int64_t radius = 0;
    if (s.reach == ExtremumReach::TwoWay) {
        radius = SampleOfLength(0.0, s.vicinity, s.V, s.dt);
    } else {
        const double metresPerSample = s.dt * s.V;
        radius = metresPerSample > 0.0 ? TruncateToIndex(s.vicinity / metresPerSample) : 0;
    }
    radius = std::max<int64_t>(radius, s.minRadius);
    const int64_t first = std::max<int64_t>(s.firstShown, s.marker - radius);
    int64_t last = std::min<int64_t>(s.lastShown, s.marker + radius);
    if (s.reach == ExtremumReach::Click)
        --last;
    const auto index = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                        std::numeric_limits<int32_t>::max()));
    };
    return {index(first), index(last)};
}

int32_t FindExtremum(std::span<const double> x, const ExtremumSearch& s) {
    const SampleWindow w = ExtremumWindow(s);
    switch (s.mode) {
    case ExtremumMode::Min:
        return IndexOfMin(x, w.first, w.last);
    case ExtremumMode::AbsMax:
        return IndexOfAbsMax(x, w.first, w.last);
    case ExtremumMode::Max:
        break;
    }
    return IndexOfMax(x, w.first, w.last);
}

} // namespace zarno::dsp
