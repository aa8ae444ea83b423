#include "app/dsp/autocorrelation.h"

#include "app/dsp/sample_math.h"

#include <fftw3.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

// How far the transform may stray from the direct sums. With u = 2⁻⁵³, the transform length
// N = 2^L ≥ 2n − 1 (so no lag wraps round) and E = Σ x[j]² the exact energy:
//
//  1. Forward transform of the zero-padded trace: ‖X̂ − X‖₂ ≤ ε‖X‖₂ with ε = Lη/(1 − Lη),
//     η = μ + γ₄(√2 + μ) for a radix-2 transform whose twiddle factors are within μ of the true ones
//     (Higham, Accuracy and Stability of Numerical Algorithms, 2nd ed., Thm 24.2). FFTW's twiddles
//     are within a few ulps, which gives η ≈ 7.7u; we allow twice that for its mixed radices:
//     ε ≤ 16·L·u. ‖X‖₂² = N·E.
//  2. Power spectrum P̂ = fl(re² + im²): ‖P̂ − P‖₂ ≤ ‖P̂ − P‖₁ ≤ (2ε + ε² + γ₂(1 + ε)²)·N·E
//     ≤ (32L + 3)·u·N·E.
//  3. Backward transform, unnormalised: the error is at most √N‖P̂ − P‖₂ + ε√N‖P̂‖₂ with
//     ‖P̂‖₂ ≤ ‖P̂‖₁ ≈ N·E, so at most √N·N·E·(48L + 4)·u. Dividing by N (a power of two) is exact, and
//     no single lag's error exceeds the 2-norm: |F[k] − R[k]| ≤ √N·(48L + 4)·u·E.
//  4. The direct sums: |D[k] − R[k]| ≤ γₙ·Σ|x[j]·x[j+k]| ≤ γₙ·E (Cauchy–Schwarz), and the divisor
//     D[0] ≥ (1 − γₙ)·E.
//  5. Both divided by D[0] and rounded once more (both quotients are at most about 1).
//
// Altogether |F[k]/D[0] − D[k]/D[0]| ≤ u·(√N·(48L + 4) + 2n + 8): 4.8e-11 at n = 65535. In practice
// FFTW stays some three orders of magnitude inside it. The bound needs the energy well inside the
// double range (no overflow of |X|², no underflow that matters against E), hence the energy window
// below; anything outside it is summed directly.

namespace zarno::dsp {

namespace {

constexpr double kUnitRoundoff = 0x1p-53;
// Below this length the direct sums cost less than planning a transform.
constexpr std::size_t kShortestTransformed = 64;
constexpr double kLowestEnergy = 0x1p-900;
constexpr double kHighestEnergy = 0x1p+900;

std::size_t TransformLength(std::size_t n) {
    std::size_t length = 1;
    while (length < 2 * n - 1)
        length <<= 1;
    return length;
}

// Σ x[j]·x[j+k] over j + k < n, in the order the reference sums (the rounding is part of the result).
double LagSum(std::span<const double> x, std::size_t k) {
    double sum = 0.0;
    for (std::size_t j = 0; j + k < x.size(); ++j)
        sum += x[j] * x[j + k];
    return sum;
}

double Divisor(double r0) {
    return r0 == 0.0 ? 1.0 : r0;
}

bool Transformable(std::span<const double> x, double r0) {
    return x.size() >= kShortestTransformed && TransformLength(x.size()) <= std::size_t(INT_MAX) &&
           r0 >= kLowestEnergy && r0 <= kHighestEnergy; // NaN and infinity fail here
}

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};

// FFTW's planner is not reentrant; executing a plan is.
std::mutex& PlannerMutex() {
    static std::mutex mutex;
    return mutex;
}

class Plans {
public:
    Plans(int length, double* time, fftw_complex* freq) {
        const std::lock_guard lock(PlannerMutex());
        forward = fftw_plan_dft_r2c_1d(length, time, freq, FFTW_ESTIMATE);
        backward = fftw_plan_dft_c2r_1d(length, freq, time, FFTW_ESTIMATE);
    }
    ~Plans() {
        const std::lock_guard lock(PlannerMutex());
        if (forward)
            fftw_destroy_plan(forward);
        if (backward)
            fftw_destroy_plan(backward);
    }
    Plans(const Plans&) = delete;
    Plans& operator=(const Plans&) = delete;

    fftw_plan forward = nullptr;
    fftw_plan backward = nullptr;
};

// r[k] = the lag sums of x through the power spectrum of the zero-padded trace. False when FFTW could
// not plan the transform.
bool LagSumsByTransform(std::span<const double> x, std::span<double> r) {
    const std::size_t length = TransformLength(x.size());
    const std::unique_ptr<double[], FftwFree> time(fftw_alloc_real(length));
    const std::unique_ptr<fftw_complex[], FftwFree> freq(fftw_alloc_complex(length / 2 + 1));
    if (!time || !freq)
        throw std::bad_alloc();
    const Plans plans(static_cast<int>(length), time.get(), freq.get());
    if (!plans.forward || !plans.backward)
        return false;
    std::copy(x.begin(), x.end(), time.get());
    std::fill(time.get() + x.size(), time.get() + length, 0.0);
    fftw_execute(plans.forward);
    for (std::size_t i = 0; i <= length / 2; ++i) {
        const double re = freq[i][0];
        const double im = freq[i][1];
        freq[i][0] = re * re + im * im;
        freq[i][1] = 0.0;
    }
    fftw_execute(plans.backward);
    const double scale = 1.0 / static_cast<double>(length); // exact: a power of two
    for (std::size_t k = 0; k < r.size(); ++k)
        r[k] = time[k] * scale;
    return true;
}

// The direct sums at single lags, for the lags whose transformed value is too close to a decision to
// trust. Zero samples add nothing to a sum, so only the others are visited: a trace that is mostly
// silence (where many lags sit exactly on zero) is settled quickly.
class DirectLags {
public:
    DirectLags(std::span<const double> x, double r0) : m_x(x), m_divisor(Divisor(r0)) {
        for (std::size_t j = 0; j < x.size(); ++j)
            if (x[j] != 0.0)
                m_nonzero.push_back(j);
    }

    // What AutocorrelateDirect gives at lag k.
    double normalised(std::size_t k) const {
        double sum = 0.0;
        for (const std::size_t j : m_nonzero) {
            if (j + k >= m_x.size())
                break;
            sum += m_x[j] * m_x[j + k];
        }
        return sum / m_divisor;
    }

private:
    std::span<const double> m_x;
    double m_divisor;
    std::vector<std::size_t> m_nonzero;
};

// IndexOfFirstNegative(r, a, last) as the direct sums decide it, r being within bound of them.
int32_t SettledFirstNegative(std::span<const double> r, int32_t a, int32_t last, double bound,
                             const DirectLags& exact) {
    for (int32_t k = a; k <= last; ++k) {
        const double v = r[static_cast<std::size_t>(k)];
        if (v < -bound)
            return k; // the direct value lies below v + bound < 0
        if (v <= bound && exact.normalised(static_cast<std::size_t>(k)) < 0.0)
            return k;
    }
    return a;
}

// IndexOfMax(r, a, last) as the direct sums decide it. The direct maximum is at least M − bound (M the
// largest r), so only lags with r ≥ M − 2·bound can hold it; they are compared by their direct values,
// the first of equals winning as in IndexOfMax. The margin of 3·bound also absorbs the rounding of
// the subtraction.
int32_t SettledMax(std::span<const double> r, int32_t a, int32_t last, double bound,
                   const DirectLags& exact) {
    if (a > last)
        return a;
    const double floor = MaxValue(r, a, last) - 3.0 * bound;
    int32_t best = -1;
    double bestValue = 0.0;
    for (int32_t k = a; k <= last; ++k) {
        if (r[static_cast<std::size_t>(k)] < floor)
            continue;
        const double v = exact.normalised(static_cast<std::size_t>(k));
        if (best < 0 || v > bestValue) {
            best = k;
            bestValue = v;
        }
    }
    return best;
}

} // namespace

void AutocorrelateDirect(std::span<const double> x, std::span<double> r) {
    const std::size_t n = std::min(x.size(), r.size());
    x = x.first(n);
    for (std::size_t k = 0; k < n; ++k)
        r[k] = LagSum(x, k);
    if (n == 0)
        return;
    const double r0 = Divisor(r[0]);
    for (std::size_t k = 0; k < n; ++k)
        r[k] /= r0;
}

void Autocorrelate(std::span<const double> x, std::span<double> r) {
    const std::size_t n = std::min(x.size(), r.size());
    if (n == 0)
        return;
    x = x.first(n);
    r = r.first(n);
    const double r0 = LagSum(x, 0);
    if (r0 == 0.0) {
        // Every square rounded to 0, so every product (no larger than the larger square) did too.
        std::fill(r.begin(), r.end(), 0.0);
        return;
    }
    if (!Transformable(x, r0) || !LagSumsByTransform(x, r)) {
        AutocorrelateDirect(x, r);
        return;
    }
    for (double& v : r)
        v /= r0;
    r[0] = 1.0; // r0 / r0, as the direct sums give it
}

double AutocorrelationErrorBound(std::size_t n) {
    if (n < kShortestTransformed)
        return 0.0; // summed directly
    const double length = static_cast<double>(TransformLength(n));
    const double levels = std::log2(length);
    return kUnitRoundoff * (std::sqrt(length) * (48.0 * levels + 4.0) + 2.0 * static_cast<double>(n) + 8.0);
}

ReflectionEstimate EstimateReflection(std::span<const double> raw, std::span<const double> r, double V,
                                      double dt) {
    ReflectionEstimate e;
    const std::size_t n = std::min(raw.size(), r.size());
    const int32_t last = static_cast<int32_t>(n) - 1;
    e.arrival = std::min(IndexOfAbsMax(raw), IndexOfMax(raw));
    const std::span<const double> x = raw.first(n);
    const double r0 = LagSum(x, 0);
    if (Transformable(x, r0)) {
        const double bound = AutocorrelationErrorBound(n);
        const DirectLags exact(x, r0);
        const int32_t zeroCrossing = SettledFirstNegative(r, e.arrival, last, bound, exact);
        e.reflection = SettledMax(r, zeroCrossing, last, bound, exact);
    } else {
        // r holds the direct sums themselves.
        const int32_t zeroCrossing = IndexOfFirstNegative(r, e.arrival, last);
        e.reflection = IndexOfMax(r, zeroCrossing, last);
    }
    e.length = LengthOfSample(0.0, e.reflection, V, dt);
    return e;
}

} // namespace zarno::dsp
