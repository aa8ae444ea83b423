#pragma once
// A pile under a hammer blow, as a one-dimensional wave equation, and the head velocity an instrument
// would record from it: the records the toe finder is tried on, the simulator's sample recordings and
// the test sites are all made here, so that they carry what real ones carry (the shaft friction's
// trend, repeats of the toe echo, socketed toes, necks and bulges, drift and noise).
//
// The pile is a chain of short elements of equal travel time (staggered finite differences at a
// Courant number of 1, which carries a wave along a uniform pile without distortion). Every element
// has its impedance Z = E·A/V relative to the pile's nominal one; the soil acts on the shaft as a
// dashpot per metre and on the toe as a spring and a dashpot. The hammer is a half sine of force on
// the head. Impedances, dashpots and springs are relative to the nominal impedance, so the records do
// not depend on a pile's material or size, only on its shape and its soil.

#include <cstdint>
#include <vector>

namespace zarno::analysis {

// A stretch of the shaft whose impedance differs from the nominal one.
struct ImpedanceSection {
    double topM = 0;    // depth of the section's top below the head
    double bottomM = 0; // depth of its bottom
    double ratio = 1;   // its impedance relative to the nominal: below 1 a neck, above 1 a bulge
};

struct PileModel {
    double lengthM = 12;
    double velocityMps = 3600;
    std::vector<ImpedanceSection> sections;
    // Shaft resistance: a dashpot per metre of shaft, relative to the nominal impedance. 0.01/m on a
    // 20 m pile takes a fifth of the impedance along the shaft: a clear downward trend after the blow.
    double shaftDampingPerM = 0.01;
    // The soil's stiffness along the shaft, per metre, relative to Z·V per square metre: it holds the
    // pile back once the blow has pushed it down, so the head swings back after the blow. The same
    // soil holds a long pile back far more than its own stiffness (Z·V/L) does, a short one hardly.
    double shaftSpringPerM2 = 0;
    // The soil under the toe: a dashpot relative to the nominal impedance (below 1 the toe echo keeps
    // the blow's sign, a free toe in soft soil; above 1 it reverses, a toe socketed in rock; 1 takes
    // the wave without echo), and a spring relative to Z·V/L.
    double toeDashpot = 0.2;
    double toeSpring = 0;
};

// A free toe in soft soil and a toe socketed in rock, as the sample recordings and the tests use them.
inline constexpr double kFreeToeDashpot = 0.2;
inline constexpr double kSocketedToeDashpot = 5;
inline constexpr double kSocketedToeSpring = 2;

// How one blow is struck and recorded.
struct BlowRecording {
    double sampleRateHz = 25000;
    int32_t samples = 2048;
    double preTriggerS = 0.001;  // recording before the hammer touches the head
    double pulseWidthS = 0.0008; // the hammer's half sine of force
    double amplitude = 1;        // head velocity of the blow's peak on a uniform pile
    double noise = 0.01;         // standard deviation of white noise, relative to amplitude
    double driftPerS = 0;        // the sensor's baseline drift, relative to amplitude, per second
    uint64_t seed = 1;           // the noise; the same seed gives the same record
};

// The two-way travel time to the toe, in seconds.
double ToeTimeS(const PileModel& pile);

// The head velocity of one blow, recording.samples values from the recording's start; empty for a
// model that cannot be run (no length, no velocity, no rate).
std::vector<double> SimulateBlow(const PileModel& pile, const BlowRecording& recording);

} // namespace zarno::analysis
