#pragma once
// The toe finder: where the pile's toe echo lies in a velocity trace of one blow, with a confidence,
// or "no toe" when no echo stands clearly above the noise and the trend. A wrong length is worse than
// none, so every doubt ends in "no toe" rather than in a guess.
//
// How it looks (pure functions on one trace and its sample interval, no state):
//  1. The blow: the first excursion reaching half the trace's largest gives the polarity and the peak;
//     the pulse runs from where the trace leaves its baseline before the peak to where it comes back.
//  2. The echoes: the blow's own pulse is slid along the trace after it (a matched filter). At every
//     lag the pulse and a straight line are fitted together by least squares over the pulse's extent
//     plus a pulse width either side, so that a slow trend (shaft friction, sensor drift) under an
//     echo does not move it; the pulse's coefficient is the echo's amplitude relative to the blow, of
//     either sign. Echoes are taken strongest first, each with its side lobes, then placed again
//     against each other so that overlapping ones (a short neck's two ends) keep their places.
//  3. The noise: the spread the trace's sample-to-sample noise gives the amplitudes, and the robust
//     spread of what no echo explains; an echo must stand well above both (and above 2% of the blow).
//  4. The toe: among the echoes from one pulse width after the blow up to what the record holds,
//     repeats of earlier ones (τi + τk, 2τ among them, with the signs repeats carry, and bounces
//     τi + τk − τm between reflectors below the head) are set aside when they are no stronger than a
//     repeat can be; the toe is the strongest echo left, or a later one at least 0.6 of it. Its
//     confidence grows with its margin over the noise and over any later echo no repeat explains,
//     and with a repeat at 2τ; below kMinToeConfidence the answer is "no toe".
// Anomalies are the echoes above the toe that no repeat explains, from 0.15 of the blow.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zarno::analysis {

// The blow as the trace shows it.
struct BlowPulse {
    int32_t index = 0;      // the pulse's peak: the origin of every echo time
    int32_t startIndex = 0; // first sample of the pulse (the trace leaves its baseline)
    int32_t endIndex = 0;   // last sample of the pulse (back at the baseline)
    double sign = 1;        // +1 when the blow is a positive excursion, -1 when the sensor is reversed
    double amplitude = 0;   // peak height above the baseline, always positive
    double baseline = 0;    // the trace's level before the blow

    int32_t WidthSamples() const { return endIndex - startIndex + 1; }
};

// The blow of a trace; nothing for a trace without one (empty, all one value, non-finite).
// Averaging aligns the blows of one pile on BlowPulse::index.
std::optional<BlowPulse> FindBlow(std::span<const double> trace);

// An echo before the toe.
struct Anomaly {
    enum class Kind {
        Reduction, // the echo has the blow's sign: the impedance falls (a neck, a crack, soft concrete)
        Increase,  // the opposite sign: the impedance rises (a bulge, a stiffer layer)
    };
    int32_t index = 0;   // the echo's sample in the trace
    double timeMs = 0;   // from the blow to the echo
    double depthM = 0;   // V·T/2
    Kind kind = Kind::Reduction;
    double strength = 0; // the echo's amplitude relative to the blow's, always positive
};

struct ToeResult {
    bool found = false;      // false: no echo stands clearly out as the toe; index/time/length are 0
    int32_t blowIndex = 0;   // BlowPulse::index, or 0 when the trace has no blow
    int32_t index = 0;       // the toe echo's sample in the trace
    double timeMs = 0;       // from the blow to the toe echo (the two-way travel time)
    double lengthM = 0;      // V·T/2
    double confidence = 0;   // 0..1; the toe is reported only from kMinToeConfidence on
    bool toeReversed = false; // the toe echo has the sign opposite the blow's (a socketed toe)
    std::vector<Anomaly> anomalies; // echoes above the toe (or above the likeliest toe when none), in time order
};

inline constexpr double kMinToeConfidence = 0.5;

// The toe of one blow's velocity trace sampled every dtS seconds, for a wave velocity velocityMps.
ToeResult FindToe(std::span<const double> trace, double dtS, double velocityMps);

// The pieces, for the tests and for callers that look closer.

// Echo amplitudes relative to the blow: out[k] is the blow pulse's least-squares coefficient, fitted
// together with a straight line, at k samples after the blow (0 at lags where the fit does not fit in
// the trace). out[0] is 1 for an undisturbed blow.
std::vector<double> EchoAmplitudes(std::span<const double> trace, const BlowPulse& blow);

// The spread of white noise in a trace, from its second differences (robust to the pulses in it).
double NoiseSpread(std::span<const double> trace);

} // namespace zarno::analysis
