#include "app/analysis/pile_grid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace zarno::analysis {
namespace {

constexpr std::array kLengthsM = {2.5, 4.0, 6.0, 9.0, 12.0, 16.0, 20.0, 25.0, 30.0};
constexpr std::array kRatesHz = {10000.0, 20000.0, 50000.0};
constexpr std::array kNoise = {0.005, 0.03};
constexpr std::array kDriftPerS = {0.0, 3.0};
// These vary along the grid rather than multiplying it.
constexpr std::array kPreTriggersS = {0.0003, 0.001, 0.0025, 0.005};
constexpr std::array kPulsesS = {0.0005, 0.0007, 0.0009, 0.0012};
constexpr std::array kShaftDampingPerM = {0.01, 0.025, 0.04};
constexpr std::array kShaftSpringsPerM2 = {0.0, 0.002, 0.004, 0.006};

constexpr double kRightShare = 0.03;
constexpr double kRightSamples = 1.5;

// The instrument's record lengths: the smallest power of two from 1024 that holds the toe's echo and
// its first repeat.
int32_t RecordSamples(double toeS, double preTriggerS, double rateHz) {
    const double need = (preTriggerS + 2.5 * toeS) * rateHz;
    int32_t samples = 1024;
    while (samples < need)
        samples *= 2;
    return samples;
}

} // namespace

std::vector<GridRecord> ToeGrid(int stride) {
    std::vector<GridRecord> grid;
    size_t n = 0;
    for (double length : kLengthsM)
        for (double rate : kRatesHz)
            for (bool socketed : {false, true})
                for (bool neck : {false, true})
                    for (double noise : kNoise)
                        for (double drift : kDriftPerS) {
                            const size_t i = n++;
                            if (stride > 1 && i % static_cast<size_t>(stride) != 0)
                                continue;
                            GridRecord g;
                            g.socketed = socketed;
                            g.neck = neck;
                            g.pile.lengthM = length;
                            g.pile.shaftDampingPerM = kShaftDampingPerM[i % kShaftDampingPerM.size()];
                            g.pile.shaftSpringPerM2 = kShaftSpringsPerM2[(i / 7) % kShaftSpringsPerM2.size()];
                            g.pile.toeDashpot = socketed ? kSocketedToeDashpot : kFreeToeDashpot;
                            g.pile.toeSpring = socketed ? kSocketedToeSpring : 0;
                            if (neck) {
                                const double top = std::round(length * 0.45 * 10) / 10;
                                g.pile.sections.push_back({top, top + 0.6, 0.6});
                            }
                            BlowRecording& r = g.recording;
                            r.sampleRateHz = rate;
                            r.preTriggerS = kPreTriggersS[(i / 3) % kPreTriggersS.size()];
                            r.pulseWidthS = kPulsesS[(i / 5) % kPulsesS.size()];
                            r.noise = noise;
                            r.driftPerS = (i / 2) % 2 ? drift : -drift;
                            r.samples = RecordSamples(ToeTimeS(g.pile), r.preTriggerS, rate);
                            r.seed = 7000 + i;
                            char name[160];
                            std::snprintf(name, sizeof name,
                                          "%4.1f m %2.0f kHz %s%s noise %.3f drift %+3.0f/s pre %.1f ms pulse %.1f ms",
                                          length, rate / 1000, socketed ? "socketed" : "free    ",
                                          neck ? " neck" : "     ", noise, r.driftPerS, r.preTriggerS * 1000,
                                          r.pulseWidthS * 1000);
                            g.name = name;
                            grid.push_back(std::move(g));
                        }
    return grid;
}

bool LengthIsRight(const GridRecord& record, double lengthM) {
    const double sampleM = record.pile.velocityMps / record.recording.sampleRateHz / 2;
    return std::abs(lengthM - record.pile.lengthM) <=
           std::max(kRightShare * record.pile.lengthM, kRightSamples * sampleM);
}

} // namespace zarno::analysis
