// The toe finder on every fifth record of the grid the benchmark runs whole (an odd stride, so that
// every kind of record is among them): right on at
// least 85%, wrong on at most 2%, the rest "no toe"; necks found where they are, clean piles quiet.

#include "app/analysis/pile_grid.h"
#include "app/analysis/toe_finder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zarno::analysis {
namespace {

TEST(ToeGrid, RightOnMostWrongOnAlmostNone) {
    const std::vector<GridRecord> grid = ToeGrid(5);
    ASSERT_GE(grid.size(), 80u);
    int right = 0, wrong = 0, necks = 0, necksFound = 0, clean = 0, cleanQuiet = 0;
    for (const GridRecord& g : grid) {
        const ToeResult toe = FindToe(SimulateBlow(g.pile, g.recording), 1 / g.recording.sampleRateHz,
                                      g.pile.velocityMps);
        if (!toe.found)
            continue;
        if (!LengthIsRight(g, toe.lengthM)) {
            ++wrong;
            ADD_FAILURE() << "wrong: " << g.name << " gave " << toe.lengthM << " m";
            continue;
        }
        ++right;
        if (g.neck) {
            ++necks;
            const double top = g.pile.sections.front().topM;
            necksFound += !toe.anomalies.empty() && std::abs(toe.anomalies.front().depthM - top) <= 0.05 * top;
        } else {
            ++clean;
            cleanQuiet += toe.anomalies.empty();
        }
    }
    const auto n = static_cast<double>(grid.size());
    EXPECT_GE(right, 0.85 * n);
    EXPECT_LE(wrong, 0.02 * n);
    EXPECT_GE(necksFound, 0.85 * necks);
    EXPECT_EQ(cleanQuiet, clean);
}

} // namespace
} // namespace zarno::analysis
