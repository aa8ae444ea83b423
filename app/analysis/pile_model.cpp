#include "app/analysis/pile_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace zarno::analysis {
namespace {

// Elements short enough that the hammer's pulse spans twenty of them and the head is computed at least
// twice per recorded sample: finer changes nothing a recording at these rates can show.
constexpr double kElementsPerPulse = 20;
constexpr double kStepsPerSample = 2;
constexpr double kMaxElementM = 0.1;

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

// The impedance at a depth: the last section holding it wins, so a section may sit inside another.
double ImpedanceAt(const PileModel& pile, double depthM) {
    double z = 1;
    for (const ImpedanceSection& s : pile.sections)
        if (depthM >= s.topM && depthM < s.bottomM)
            z = s.ratio;
    return z;
}

// The chain: element j lies between nodes j and j + 1; node 0 is the head, node n the toe.
struct Chain {
    std::vector<double> impedance; // per element
    std::vector<double> mass;      // per node, mass / step (so that a force times 1/mass is a velocity change)
    std::vector<double> damping;   // per node, the shaft dashpot's share
    std::vector<double> spring;    // per node, the shaft spring's share
    double stiffnessPerZ = 0;      // element stiffness × step, per unit of impedance
};

Chain BuildChain(const PileModel& pile, int elements, double dxM, double stepS) {
    Chain c;
    c.impedance.resize(static_cast<size_t>(elements));
    for (int j = 0; j < elements; ++j)
        c.impedance[static_cast<size_t>(j)] = std::max(1e-3, ImpedanceAt(pile, (j + 0.5) * dxM));
    c.mass.assign(static_cast<size_t>(elements) + 1, 0);
    c.damping.assign(static_cast<size_t>(elements) + 1, 0);
    c.spring.assign(static_cast<size_t>(elements) + 1, 0);
    // ρ·A·dx of an element is Z·dx/V; each node carries half of the elements on either side.
    for (int j = 0; j < elements; ++j) {
        const double half = c.impedance[static_cast<size_t>(j)] * dxM / pile.velocityMps / 2 / stepS;
        c.mass[static_cast<size_t>(j)] += half;
        c.mass[static_cast<size_t>(j) + 1] += half;
        const double shaft = pile.shaftDampingPerM * dxM / 2;
        c.damping[static_cast<size_t>(j)] += shaft;
        c.damping[static_cast<size_t>(j) + 1] += shaft;
        const double soil = pile.shaftSpringPerM2 * pile.velocityMps * dxM / 2;
        c.spring[static_cast<size_t>(j)] += soil;
        c.spring[static_cast<size_t>(j) + 1] += soil;
    }
    c.stiffnessPerZ = pile.velocityMps / dxM * stepS;
    return c;
}

// The head velocity at every step up to `steps` after the hammer touches the head.
std::vector<double> HeadVelocity(const PileModel& pile, double pulseWidthS, double amplitude, double stepS,
                                 int elements, double dxM, size_t steps) {
    const Chain c = BuildChain(pile, elements, dxM, stepS);
    const size_t nodes = c.mass.size();
    std::vector<double> v(nodes, 0), displacement(nodes, 0), compression(static_cast<size_t>(elements), 0);
    const double toeDashpot = pile.toeDashpot;
    const double toeSpring = pile.toeSpring * pile.velocityMps / pile.lengthM;
    std::vector<double> head(steps + 1, 0);
    for (size_t n = 0; n < steps; ++n) {
        // Compressions at n + 1/2 from the velocities at n.
        for (size_t j = 0; j < compression.size(); ++j)
            compression[j] += c.stiffnessPerZ * c.impedance[j] * (v[j] - v[j + 1]);
        // Velocities at n + 1 from the forces at n + 1/2; dashpots act on the mean of old and new
        // velocity, which keeps the step stable however stiff the soil.
        const double t = (static_cast<double>(n) + 0.5) * stepS;
        const double hammer = t < pulseWidthS ? amplitude * std::sin(std::numbers::pi * t / pulseWidthS) : 0;
        for (size_t i = 0; i < nodes; ++i) {
            double force = (i == 0 ? hammer : compression[i - 1]) - (i + 1 == nodes ? 0 : compression[i]);
            double dashpot = c.damping[i];
            double spring = c.spring[i];
            if (i + 1 == nodes) {
                spring += toeSpring;
                dashpot += toeDashpot;
            }
            force -= spring * displacement[i];
            const double next = (v[i] * (c.mass[i] - dashpot / 2) + force) / (c.mass[i] + dashpot / 2);
            displacement[i] += (v[i] + next) / 2 * stepS;
            if (i == 0)
                head[n + 1] = (v[i] + next) / 2;
            v[i] = next;
        }
    }
    return head;
}

} // namespace

double ToeTimeS(const PileModel& pile) {
    return 2 * pile.lengthM / pile.velocityMps;
}

std::vector<double> SimulateBlow(const PileModel& pile, const BlowRecording& r) {
    if (!(pile.lengthM > 0) || !(pile.velocityMps > 0) || !(r.sampleRateHz > 0) || r.samples <= 0 ||
        !(r.pulseWidthS > 0))
        return {};
    const double sampleS = 1 / r.sampleRateHz;
    const double maxStepS = std::min(sampleS / kStepsPerSample, r.pulseWidthS / kElementsPerPulse);
    const double maxElementM = std::min(kMaxElementM, maxStepS * pile.velocityMps);
    const int elements = std::max(4, static_cast<int>(std::ceil(pile.lengthM / maxElementM)));
    const double dxM = pile.lengthM / elements;
    const double stepS = dxM / pile.velocityMps; // a Courant number of exactly 1
    const double recordS = r.samples * sampleS - r.preTriggerS;
    const size_t steps = recordS > 0 ? static_cast<size_t>(std::ceil(recordS / stepS)) + 1 : 0;
    // The hammer's force on a uniform head gives the velocity F/Z, with Z = 1. head[n] is the mean over
    // the step that ends at n (a step's mean lies half a step earlier): the mean cancels the
    // step-to-step alternation a force on the end node leaves behind at a Courant number of 1.
    const std::vector<double> head = HeadVelocity(pile, r.pulseWidthS, r.amplitude, stepS, elements, dxM, steps);

    Noise noise(r.seed);
    std::vector<double> trace(static_cast<size_t>(r.samples));
    for (int32_t k = 0; k < r.samples; ++k) {
        const double tS = k * sampleS;
        const double sinceBlowS = tS - r.preTriggerS;
        double v = 0;
        if (sinceBlowS > 0) {
            const double at = sinceBlowS / stepS + 0.5;
            const auto n = static_cast<size_t>(at);
            const double f = at - static_cast<double>(n);
            v = n + 1 < head.size() ? head[n] * (1 - f) + head[n + 1] * f : head.back();
        }
        trace[static_cast<size_t>(k)] = v + r.amplitude * (r.driftPerS * tS + r.noise * noise.Next());
    }
    return trace;
}

} // namespace zarno::analysis
