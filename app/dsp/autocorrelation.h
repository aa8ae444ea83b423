#pragma once
// The normalised autocorrelation of a trace and the automatic reflection index taken from it.
//
// Autocorrelate goes through the FFT (FFTW3) in O(n log n), so its values differ from the direct sums
// r[k] = Σ x[j]·x[j+k] / r[0] by rounding, at most AutocorrelationErrorBound(n). The decisions taken
// from r (the first negative lag after the arrival, the strongest lag after it) are not allowed to
// depend on that rounding: EstimateReflection settles every lag whose value lies within the bound of
// zero, or of the competing maximum, with the exact direct sum at that lag, so the indices it gives are
// always those of the direct sums.

#include <cstddef>
#include <cstdint>
#include <span>

namespace zarno::dsp {

// r[k] = Σ x[j]·x[j+k] over j + k < n, then every r[k] divided by r[0] (by 1 when r[0] is 0), with
// n = min(x.size(), r.size()). r[0] is exactly 1 (or 0 for an all-zero trace). Traces whose energy lies
// outside the range the bound covers (non-finite samples, or squares near the ends of the double
// range) and very short ones are summed directly.
void Autocorrelate(std::span<const double> x, std::span<double> r);

// The same by the direct sums in O(n²), value for value: the reference Autocorrelate is held to.
void AutocorrelateDirect(std::span<const double> x, std::span<double> r);

// The largest difference |Autocorrelate(x)[k] − AutocorrelateDirect(x)[k]| any trace of n samples can
// show (about 4.8e-11 at n = 65535, 1.5e-13 at n = 100). See autocorrelation.cpp for how it is built.
double AutocorrelationErrorBound(std::size_t n);

struct ReflectionEstimate {
    int32_t arrival = 0;    // u: the first of the trace's largest and largest-magnitude samples
    int32_t reflection = 0; // w: the lag of the strongest repetition after r's first zero crossing
    double length = 0.0;    // LengthOfSample(0, w, V, dt)
};

// The automatic reflection index of a raw trace whose autocorrelation Autocorrelate(raw, r) is in r:
// u = min(IndexOfAbsMax(raw), IndexOfMax(raw)); v = the first negative r after u (u when none);
// w = IndexOfMax(r) from v on; all as the direct sums decide them.
ReflectionEstimate EstimateReflection(std::span<const double> raw, std::span<const double> r, double V,
                                      double dt);

} // namespace zarno::dsp
