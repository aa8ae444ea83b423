#pragma once
// The simulator's pile recordings: each trace is one hammer blow on a modelled pile (the
// one-dimensional wave model of app/analysis/pile_model.h), so the sample recordings carry what real
// ones carry: the shaft's friction trend, the toe echo and its repeats, socketed toes, necks and
// bulges, a pre-trigger and noise. Blows after the first differ a little in force, pulse and noise,
// as a hammer's blows do. The same spec always gives the same traces.

#include "app/analysis/pile_model.h"

#include <cstdint>
#include <vector>

namespace zarno::device {

struct PileSpec {
    double lengthM = 12;
    double velocity = 3600; // m/s
    double sampleRateHz = 10000;
    uint32_t samples = 1024;
    std::vector<analysis::ImpedanceSection> sections; // necks and bulges
    bool socketedToe = false;                         // a toe in rock instead of soft soil
    double shaftDampingPerM = 0.015;
    // The soil's stiffness along the shaft relative to the pile's own (see PileOf): firm enough that
    // the head swings back after the blow, as it does on most real records.
    double shaftSpringRatio = 1.5;
    double preTriggerS = 0.0005;
    double pulseWidthS = 0.0008;
    double noise = 0.01; // standard deviation, relative to the blow
    double driftPerS = 0;
    uint64_t seed = 1;
};

// The pile as the model takes it.
analysis::PileModel PileOf(const PileSpec& spec);

// Blow number `blow` (from 0) on the pile: spec.samples values from the recording's start.
std::vector<double> SynthesizeVelocity(const PileSpec& spec, unsigned blow = 0);

// The two-way travel time to the toe, in samples.
double ToeDelaySamples(const PileSpec& spec);

} // namespace zarno::device
