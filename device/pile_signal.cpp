#include "device/pile_signal.h"

namespace zarno::device {
namespace {

// How much one blow differs from the one before: a little less force, a slightly longer contact.
constexpr double kForceStepPerBlow = 0.08;
constexpr double kPulseStepPerBlow = 0.06;

} // namespace

analysis::PileModel PileOf(const PileSpec& spec) {
    analysis::PileModel pile;
    pile.lengthM = spec.lengthM;
    pile.velocityMps = spec.velocity;
    pile.sections = spec.sections;
    pile.shaftDampingPerM = spec.shaftDampingPerM;
    // The model's spring per metre that makes the shaft's whole soil spring shaftSpringRatio times the
    // pile's axial stiffness Z·V/L.
    pile.shaftSpringPerM2 = spec.shaftSpringRatio / (spec.lengthM * spec.lengthM);
    pile.toeDashpot = spec.socketedToe ? analysis::kSocketedToeDashpot : analysis::kFreeToeDashpot;
    pile.toeSpring = spec.socketedToe ? analysis::kSocketedToeSpring : 0;
    return pile;
}

std::vector<double> SynthesizeVelocity(const PileSpec& spec, unsigned blow) {
    analysis::BlowRecording r;
    r.sampleRateHz = spec.sampleRateHz;
    r.samples = static_cast<int32_t>(spec.samples);
    r.preTriggerS = spec.preTriggerS;
    r.pulseWidthS = spec.pulseWidthS * (1 + kPulseStepPerBlow * blow);
    r.amplitude = 1 - kForceStepPerBlow * blow;
    r.noise = spec.noise;
    r.driftPerS = spec.driftPerS;
    r.seed = spec.seed * 31 + blow;
    return analysis::SimulateBlow(PileOf(spec), r);
}

double ToeDelaySamples(const PileSpec& spec) {
    return 2 * spec.lengthM / spec.velocity * spec.sampleRateHz;
}

} // namespace zarno::device
