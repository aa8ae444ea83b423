#include "app/dsp/autocorrelation.h"
#include "app/dsp/sample_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <numbers>
#include <vector>

using namespace zarno::dsp;

namespace {

using Trace = std::vector<double>;

// Reproducible noise in [-1, 1).
class Noise {
public:
    explicit Noise(uint64_t seed) : m_state(seed) {}
    double next() {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(m_state >> 11) * 0x1p-52 - 1.0;
    }

private:
    uint64_t m_state;
};

// A blow at `at`, its echo `lag` samples later, and noise: the shape of a pile recording.
Trace PileLike(std::size_t n, std::size_t at, std::size_t lag, double noise, uint64_t seed) {
    Trace x(n, 0.0);
    auto pulse = [&](std::size_t start, double a) {
        for (std::size_t i = 0; i < 12 && start + i < n; ++i)
            x[start + i] += a * std::sin(std::numbers::pi * double(i) / 6.0);
    };
    pulse(at, 1.0);
    pulse(at + lag, 0.4);
    Noise random(seed);
    for (double& v : x)
        v += noise * random.next();
    return x;
}

// Spikes at the given places: integer traces whose lag sums are exact integers.
Trace Spikes(std::size_t n, std::initializer_list<std::pair<std::size_t, double>> spikes) {
    Trace x(n, 0.0);
    for (const auto& [at, value] : spikes)
        x[at] = value;
    return x;
}

// The automatic reflection index as the direct sums decide it, the way it was always computed.
ReflectionEstimate DirectEstimate(const Trace& raw) {
    Trace r(raw.size());
    AutocorrelateDirect(raw, r);
    const int32_t last = static_cast<int32_t>(raw.size()) - 1;
    ReflectionEstimate e;
    e.arrival = std::min(IndexOfAbsMax(raw), IndexOfMax(raw));
    e.reflection = IndexOfMax(r, IndexOfFirstNegative(r, e.arrival, last), last);
    return e;
}

// AutocorrelateDirect's value at lag k alone (the same sums in the same order), so that long traces
// can be checked at a spread of lags without the O(n²) of all of them.
double DirectAt(const Trace& x, std::size_t k) {
    double r0 = 0.0, sum = 0.0;
    for (std::size_t j = 0; j < x.size(); ++j)
        r0 += x[j] * x[j];
    for (std::size_t j = 0; j + k < x.size(); ++j)
        sum += x[j] * x[j + k];
    return sum / (r0 == 0.0 ? 1.0 : r0);
}

// The largest difference from the direct sums: over every lag of a short trace; over the first and
// last 256 lags and every 251st between them of a long one.
double LargestDifference(const Trace& x, const Trace& fast) {
    const std::size_t n = x.size();
    double d = 0.0;
    for (std::size_t k = 0; k < n; k = (n <= 4096 || k < 256 || k + 256 >= n) ? k + 1 : k + 251)
        d = std::max(d, std::fabs(fast[k] - DirectAt(x, k)));
    return d;
}

TEST(Autocorrelation, NormalisesByLagZero) {
    const Trace x = {1, 2, -1};
    Trace r(3);
    Autocorrelate(x, r);
    // raw: 1+4+1 = 6, 2-2 = 0, -1
    EXPECT_EQ(r[0], 1.0);
    EXPECT_EQ(r[1], 0.0);
    EXPECT_DOUBLE_EQ(r[2], -1.0 / 6.0);

    for (const std::size_t n : {8u, 65535u}) {
        const Trace zero(n, 0.0);
        Trace rz(n, 7.0);
        Autocorrelate(zero, rz);
        EXPECT_EQ(rz, Trace(n, 0.0)) << n;
    }
}

TEST(Autocorrelation, StaysWithinItsBoundOfTheDirectSums) {
    struct Case {
        const char* what;
        Trace x;
    };
    const Case cases[] = {
        {"one sample", {-3.5}},
        {"two samples", {1.0, -2.0}},
        {"just below the transformed length", PileLike(63, 3, 20, 0.05, 1)},
        {"shortest transformed", PileLike(64, 3, 20, 0.05, 2)},
        {"odd length", PileLike(1001, 40, 300, 0.05, 3)},
        {"integer samples",
         [] {
             Trace x = PileLike(4096, 100, 1500, 0.0, 4);
             for (double& v : x)
                 v = std::round(v * 30000.0);
             return x;
         }()},
        {"large amplitudes",
         [] {
             Trace x = PileLike(2048, 10, 700, 0.1, 5);
             for (double& v : x)
                 v *= 1e120;
             return x;
         }()},
        {"longest", PileLike(65535, 200, 20000, 0.02, 6)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Trace fast(c.x.size());
        Autocorrelate(c.x, fast);
        EXPECT_EQ(fast[0], 1.0);
        EXPECT_LE(LargestDifference(c.x, fast), AutocorrelationErrorBound(c.x.size()));
    }
    EXPECT_EQ(AutocorrelationErrorBound(63), 0.0);
    EXPECT_LT(AutocorrelationErrorBound(65535), 5e-11);
}

// Samples whose squares leave the range the bound covers, or are not numbers at all, are summed
// directly and give the direct values bit for bit.
TEST(Autocorrelation, OutsideTheBoundsRangeSumsDirectly) {
    const Trace tiny = [] {
        Trace x = PileLike(256, 5, 100, 0.1, 7);
        for (double& v : x)
            v *= 1e-200;
        return x;
    }();
    Trace huge = PileLike(256, 5, 100, 0.1, 8);
    huge[17] = 1e200;
    Trace nan = PileLike(256, 5, 100, 0.1, 9);
    nan[40] = std::nan("");
    for (const Trace* x : std::initializer_list<const Trace*>{&tiny, &huge, &nan}) {
        Trace fast(x->size()), direct(x->size());
        Autocorrelate(*x, fast);
        AutocorrelateDirect(*x, direct);
        EXPECT_EQ(std::memcmp(fast.data(), direct.data(), fast.size() * sizeof(double)), 0);
    }
}

// Traces built so that the transform's rounding alone would move the first negative lag or the
// strongest one: the indices must be those of the direct sums every time.
TEST(Autocorrelation, ReflectionIndicesAreThoseOfTheDirectSums) {
    constexpr double k25 = 0x1p25;
    constexpr double k26 = 0x1p26;
    struct Case {
        const char* what;
        Trace raw;
        int32_t arrival, reflection; // what the direct sums give; -1: compute them (short traces only)
    };
    const Case cases[] = {
        {"all zero", Trace(4096, 0.0), 0, 0},
        {"one sample", {5.0}, 0, 0},
        {"two samples", {2.0, -1.0}, 0, 1},
        // r is exactly 0 from lag 2 to n - 3 and negative only at n - 2: the transform's noise around 0
        // must not end the search early (the transformed values alone give 2047).
        {"touching zero for a long stretch", Spikes(4096, {{0, 2}, {1, 1}, {4095, -1}}), 0, 4094},
        {"touching zero, longest", Spikes(65535, {{0, 2}, {1, 1}, {65534, -1}}), 0, 65533},
        // [1, 1, -1, -1, ...] closed by a 1 makes r[1] exactly 0 in a dense trace.
        {"touching zero once",
         [] {
             Trace x;
             for (int i = 0; i < 1024; ++i)
                 x.insert(x.end(), {1.0, 1.0, -1.0, -1.0});
             x.push_back(1.0);
             return x;
         }(),
         0, -1},
        // Lags 317 and 1501 both sum to exactly 2^51: the first one wins. (With FFTW 3.3.10 on x86-64
        // the transformed values alone pick 1501 here.)
        {"two lags tied to the last bit",
         Spikes(16384, {{0, k26}, {1, -1}, {317, k25}, {1500, k25}, {1501, k25}}), 0, 317},
        // Lag 1049 sums to 2^52 + 1, lag 300 to 2^52: an ulp apart, the later one wins (the transformed
        // values alone pick 300).
        {"a later lag larger by an ulp",
         Spikes(16384, {{0, k26}, {1, -1}, {300, k26}, {1049, k26}, {1050, -1}}), 0, 1049},
        // A positive ramp never makes r negative: w is the first maximum of r from u on, u itself.
        {"never negative",
         [] {
             Trace x(200);
             for (std::size_t i = 0; i < x.size(); ++i)
                 x[i] = i < 100 ? double(i) : double(199 - i);
             return x;
         }(),
         99, 99},
        {"pile-like", PileLike(8192, 200, 3000, 0.02, 10), -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ReflectionEstimate direct;
        if (c.arrival < 0 || c.reflection < 0)
            direct = DirectEstimate(c.raw);
        if (c.arrival >= 0)
            direct.arrival = c.arrival;
        if (c.reflection >= 0)
            direct.reflection = c.reflection;
        Trace r(c.raw.size());
        Autocorrelate(c.raw, r);
        const ReflectionEstimate fast = EstimateReflection(c.raw, r, 3600, 0.0001);
        EXPECT_EQ(fast.arrival, direct.arrival);
        EXPECT_EQ(fast.reflection, direct.reflection);
        EXPECT_DOUBLE_EQ(fast.length, LengthOfSample(0, direct.reflection, 3600, 0.0001));
    }
}

TEST(Autocorrelation, ReflectionEstimateOfAPulseAndItsEcho) {
    const Trace raw = PileLike(400, 20, 150, 0.0, 0);
    Trace r(raw.size());
    Autocorrelate(raw, r);
    for (const double V : {3600.0, 0.0}) {
        const ReflectionEstimate e = EstimateReflection(raw, r, V, 0.0001);
        EXPECT_EQ(e.arrival, 23);
        EXPECT_EQ(e.reflection, 150);
        EXPECT_DOUBLE_EQ(e.length, LengthOfSample(0, 150, V, 0.0001));
    }
}

} // namespace
