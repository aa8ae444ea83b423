#include "device/pile_signal.h"

#include <cmath>
#include <numbers>
#include <random>

namespace zarno::device {
namespace {

constexpr double kImpactAtS = 0.0001;   // the hammer strikes 0.1 ms into the recording
constexpr double kPulseWidthS = 0.0008; // the positive half-wave of the impact
constexpr double kReboundWidthS = 0.0012;
constexpr double kReboundDepth = 0.35; // the pulse's negative after-swing
constexpr int kToeRepeats = 6;

// One impact pulse at time tau after its start: a half sine, then a shallower negative swing, so
// that the trace's autocorrelation turns negative before the first echo as in real recordings.
double Pulse(double tau) {
    if (tau < 0)
        return 0;
    if (tau < kPulseWidthS)
        return std::sin(std::numbers::pi * tau / kPulseWidthS);
    tau -= kPulseWidthS;
    if (tau < kReboundWidthS)
        return -kReboundDepth * std::sin(std::numbers::pi * tau / kReboundWidthS);
    return 0;
}

// Gaussian noise from 53-bit uniforms (Box-Muller), the same on every platform for one seed.
class Noise {
public:
    explicit Noise(uint64_t seed) : m_random(seed) {}
    double Next() {
        const double u1 = (static_cast<double>(m_random() >> 11) + 1) * 0x1.0p-53;
        const double u2 = static_cast<double>(m_random() >> 11) * 0x1.0p-53;
        return std::sqrt(-2 * std::log(u1)) * std::cos(2 * std::numbers::pi * u2);
    }

private:
    std::mt19937_64 m_random;
};

} // namespace

double ToeDelaySamples(const PileSpec& spec) {
    return 2 * spec.lengthM / spec.velocity * spec.sampleRateHz;
}

std::vector<double> SynthesizeVelocity(const PileSpec& spec) {
    const double dt = 1 / spec.sampleRateHz;
    const double toe = 2 * spec.lengthM / spec.velocity;
    const double start = kImpactAtS + spec.delayS;
    Noise noise(spec.seed);
    std::vector<double> trace(spec.samples);
    for (uint32_t n = 0; n < spec.samples; ++n) {
        const double t = n * dt - start;
        double v = Pulse(t);
        // A free toe sends the wave back with the same sign; each round trip loses some of it.
        double strength = 1;
        for (int k = 1; k <= kToeRepeats; ++k) {
            strength *= spec.toeStrength;
            v += strength * Pulse(t - k * toe);
        }
        if (spec.defectDepthM) {
            const double defect = 2 * *spec.defectDepthM / spec.velocity;
            v += spec.defectStrength * Pulse(t - defect);
            v += spec.defectStrength * spec.toeStrength * Pulse(t - defect - toe);
        }
        trace[n] = spec.amplitude * v + spec.noise * spec.amplitude * noise.Next();
    }
    return trace;
}

} // namespace zarno::device
