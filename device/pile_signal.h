#pragma once
// Synthetic velocity traces of a pile test: the hammer's impact pulse, the toe's reflection after the
// two-way travel time 2L/V and its repeats, each weaker than the one before, an optional reflection
// from a defect (a change of section) above the toe, and a little noise. The same spec always gives
// the same trace.

#include <cstdint>
#include <optional>
#include <vector>

namespace zarno::device {

struct PileSpec {
    double lengthM = 12;
    double velocity = 3600; // m/s
    double sampleRateHz = 10000;
    uint32_t samples = 1024;
    std::optional<double> defectDepthM;
    double defectStrength = 0.25; // relative to the impact
    double toeStrength = 0.6;     // each toe reflection relative to the one before
    double noise = 0.01;          // standard deviation, relative to the impact
    double amplitude = 1;         // of the impact pulse
    double delayS = 0;            // an extra delay of the whole trace (a second sensor)
    uint64_t seed = 1;
};

// The trace, ns samples from time 0.
std::vector<double> SynthesizeVelocity(const PileSpec& spec);

// The two-way travel time to the toe, in samples.
double ToeDelaySamples(const PileSpec& spec);

} // namespace zarno::device
