#include "app/viewer/lengths_list.h"

#include <gtest/gtest.h>

using namespace zarno;

namespace {

TEST(LengthsList, RowsFromTheMarkers) {
    struct Case {
        const char* what;
        std::array<int, 5> markers;
        int windowStart;
        double dt, velocity;
        int count;
        std::array<const char*, 5> texts;
    };
    // Δt 100 µs, V 4000 m/s: one sample is 0.2 m.
    const Case cases[] = {
        {"all at zero", {0, 0, 0, 0, 0}, 0, 1e-4, 4000, 0, {"- 0 -", "- 0 -", "- 0 -", "- 0 -", "- 0 -"}},
        {"sorted ascending", {50, 10, 0, 30, 0}, 0, 1e-4, 4000, 3, {"2.000", "6.000", "10.000", "- 0 -", "- 0 -"}},
        {"equal distances stay twice", {60, 60, 0, 0, 0}, 10, 1e-4, 4000, 2, {"10.000", "10.000", "- 0 -", "- 0 -", "- 0 -"}},
        {"at or before the window start none", {10, 5, 11, 0, 0}, 10, 1e-4, 4000, 1, {"0.200", "- 0 -", "- 0 -", "- 0 -", "- 0 -"}},
        {"all five", {1, 2, 3, 4, 500}, 0, 1e-4, 4000, 5, {"0.200", "0.400", "0.600", "0.800", "100.000"}},
        {"no velocity no length", {10, 20, 0, 0, 0}, 0, 1e-4, 0, 0, {"- 0 -", "- 0 -", "- 0 -", "- 0 -", "- 0 -"}},
        {"negative velocity still a distance", {10, 0, 0, 0, 0}, 0, 1e-4, -4000, 1, {"2.000", "- 0 -", "- 0 -", "- 0 -", "- 0 -"}},
        {"three decimals rounded", {7, 0, 0, 0, 0}, 0, 1e-6, 3333, 1, {"0.012", "- 0 -", "- 0 -", "- 0 -", "- 0 -"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const LengthsList list = ComputeLengthsList(c.markers, c.windowStart, c.dt, c.velocity);
        EXPECT_EQ(list.count, c.count);
        for (std::size_t s = 0; s < 5; ++s) {
            EXPECT_EQ(list.numbers[s], QString::number(s + 1));
            EXPECT_EQ(list.texts[s], QString::fromUtf8(c.texts[s])) << "row " << s;
            if (static_cast<int>(s) >= c.count) {
                EXPECT_EQ(list.entries[s], kUnusedLength);
            }
        }
    }
}

} // namespace
