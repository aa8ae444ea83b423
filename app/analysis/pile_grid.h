#pragma once
// The grid of modelled records the toe finder is judged on: piles of 2.5 to 30 m recorded at 10, 20
// and 50 kHz, free and socketed toes, with and without a neck, at two noise levels, with and without
// drift, with pre-triggers of 0.3 to 5 ms and hammer pulses of 0.5 to 1.2 ms. The same grid every run.

#include "app/analysis/pile_model.h"

#include <string>
#include <vector>

namespace zarno::analysis {

struct GridRecord {
    PileModel pile;
    BlowRecording recording;
    bool socketed = false;
    bool neck = false;
    std::string name; // a short description for tables
};

// Every record of the grid (432), or every `stride`-th of it for a quicker look (an odd stride keeps
// every noise level and drift among them).
std::vector<GridRecord> ToeGrid(int stride = 1);

// Whether a found length is right: within 3% of the pile's, or within 1.5 samples' worth of length.
bool LengthIsRight(const GridRecord& record, double lengthM);

} // namespace zarno::analysis
