// The drawing of a pile: the averaged trace with its blows behind it, the toe and the engineer's
// length marked where the axis puts them, and the piles of a site one under the other.

#include "app/report/pile_strip.h"
#include "app/site/blow_stack.h"
#include "tests/site/site_fixture.h"
#include "tests/site/stand_in_finders.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zarno {
namespace {

// Three blows of a pile with its toe 4 ms after the blow (8 m at 4000 m/s), one of them reversed.
site::PileResult Pile() {
    std::vector<std::vector<double>> traces;
    for (unsigned seed : {1u, 2u, 3u}) {
        testing::PileTrace t;
        t.noise = 0.02;
        t.seed = seed;
        t.sign = seed == 3 ? -1.0 : 1.0;
        traces.push_back(t.build());
    }
    site::PileResult pile;
    pile.pile = QStringLiteral("P1");
    pile.intervalS = 20e-6;
    pile.blows = 3;
    const std::vector<std::span<const double>> blows(traces.begin(), traces.end());
    pile.stack = site::StackBlows(blows, pile.intervalS, testing::LargestMark, testing::LargestLater);
    pile.decidedLengthM = 9.0;
    return pile;
}

// How many pixels of column x are within tolerance of colour (the sum of the channels' differences).
int PixelsLike(const QImage& image, int x, QColor colour, int tolerance = 60) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QColor c = image.pixelColor(x, y);
        const int off = std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                        std::abs(c.blue() - colour.blue());
        n += off < tolerance ? 1 : 0;
    }
    return n;
}

// The most pixels of colour in a column within a pixel of x: a line's place to the pixel, its
// antialiased edge allowed for.
int LineAt(const QImage& image, int x, QColor colour) {
    return std::max({PixelsLike(image, x - 1, colour, 100), PixelsLike(image, x, colour, 100),
                     PixelsLike(image, x + 1, colour, 100)});
}

int ColumnsWith(const QImage& image, int from, int to, QColor colour) {
    int n = 0;
    for (int x = from; x < to; ++x)
        n += PixelsLike(image, x, colour) > 0 ? 1 : 0;
    return n;
}

class PileStrip : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "pile-strip-test";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }

    QImage Draw(const site::PileResult& pile, bool blows) {
        QImage image(800, 200, QImage::Format_RGB32); // 96 dpi: 34 mm of label are 128 px
        image.fill(Qt::white);
        QPainter p(&image);
        PileStripOptions options;
        options.xMax = 10.0;
        options.blows = blows;
        PaintPileStrip(p, QRectF(0, 0, 800, 200), pile, 4000.0, options);
        return image;
    }
};

TEST_F(PileStrip, MarksSitWhereTheAxisPutsThemAndTheBlowsAreFaintBehind) {
    const site::PileResult pile = Pile();
    ASSERT_TRUE(pile.stack.toe.found);
    ASSERT_EQ(pile.stack.blows.size(), 3u);
    const QImage with = Draw(pile, true);
    const double left = 34.0 * with.logicalDpiX() / 25.4, width = 800 - left;
    const int toeX = int(std::lround(left + width * 0.8)), decidedX = int(std::lround(left + width * 0.9));
    EXPECT_GT(LineAt(with, toeX, QColor(200, 0, 0)), 40);       // dashed
    EXPECT_GT(LineAt(with, decidedX, QColor(0, 90, 200)), 100); // solid
    EXPECT_EQ(LineAt(with, toeX - 30, QColor(200, 0, 0)), 0);
    // The reversed blow is left out and drawn faint in its own colour, away from the marks.
    const int from = int(left) + 5, to = toeX - 40;
    EXPECT_GT(ColumnsWith(with, from, to, QColor(240, 170, 170)), 30);
    EXPECT_EQ(ColumnsWith(Draw(pile, false), from, to, QColor(240, 170, 170)), 0);
}

TEST_F(PileStrip, StackedPilesFillTheAreaAndSayHowManyFit) {
    const std::vector<site::PileResult> piles(5, Pile());
    QImage image(600, 400, QImage::Format_RGB32); // 96 dpi: 30 mm strips are 113 px
    image.fill(Qt::white);
    QPainter p(&image);
    EXPECT_EQ(PaintStackedPiles(p, QRectF(0, 0, 600, 400), piles, 4000.0, 30.0), 3);
    EXPECT_EQ(PaintStackedPiles(p, QRectF(0, 0, 600, 400), std::span(piles).first(2), 4000.0, 30.0), 2);
    EXPECT_EQ(PaintStackedPiles(p, QRectF(0, 0, 600, 20), piles, 4000.0, 30.0), 0);
    // Without a speed the axis is in milliseconds and there is no length to mark.
    EXPECT_GT(SharedStripRange(piles, std::nullopt), 4.0);
    EXPECT_LT(SharedStripRange(piles, std::nullopt), 5.7);
    EXPECT_NEAR(SharedStripRange(piles, 4000.0), 9.0 * 1.4, 1e-9); // past the decided length
}

} // namespace
} // namespace zarno
