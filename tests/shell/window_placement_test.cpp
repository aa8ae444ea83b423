// A kept window rectangle brought onto the screen's available area.

#include "app/shell/window_placement.h"

#include <gtest/gtest.h>

using namespace zarno;

TEST(WindowPlacement, ARectangleOffTheScreenComesOntoIt) {
    const QRect screen(0, 24, 1280, 776); // a panel along the top
    struct Case {
        const char* what;
        QRect saved;
        QRect placed;
    } cases[] = {
        {"within: kept", {10, 40, 760, 390}, {10, 40, 760, 390}},
        {"title bar above the screen", {10, 10, 760, 390}, {10, 24, 760, 390}},
        {"far right and below", {5000, 3000, 760, 390}, {520, 410, 760, 390}},
        {"far left and above", {-4000, -900, 760, 390}, {0, 24, 760, 390}},
        {"larger than the screen", {-50, 0, 2000, 1500}, {0, 24, 1280, 776}},
        {"bottom below the screen", {400, 600, 484, 351}, {400, 449, 484, 351}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QRect placed = PlaceWithin(c.saved, screen);
        EXPECT_EQ(placed, c.placed);
        EXPECT_TRUE(screen.contains(placed));
    }
}
