// The site's parts on their own: the table reader, the blow stack and its gate, the speed
// calibration and the class rules.

#include "app/analysis/pile_model.h"
#include "app/site/analysis_search.h"
#include "app/site/blow_stack.h"
#include "app/site/pile_class.h"
#include "app/site/site_table.h"
#include "app/site/site_velocity.h"
#include "tests/site/site_fixture.h"
#include "tests/site/stand_in_finders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace zarno::site {
namespace {

using testing::PileTrace;

using testing::LargestLater;
using testing::LargestMark;

TEST(SiteTable, ReadsEitherSeparatorAndEitherDecimalMark) {
    struct Case {
        const char* name;
        QString text;
    };
    const Case cases[] = {
        {"semicolons, decimal comma", "pile;file;design_length_m;known_length_m;note\r\nP1;a.sgy;12,5;12,25;нота\r\n"},
        {"commas, decimal point", "pile,file,design_length_m,known_length_m,note\nP1,a.sgy,12.5,12.25,нота\n"},
        {"commas, quoted decimal comma", "file,pile,known_length_m,design_length_m,note\na.sgy,P1,\"12,25\",\"12,5\",нота\n"},
        {"BOM and blank lines", QChar(0xFEFF) + QString("\npile;file;design_length_m;known_length_m;note\n\nP1;a.sgy;12.5;12,25;нота\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SiteTable t = ParseSiteTable(c.text);
        EXPECT_TRUE(t.messages.isEmpty()) << t.messages.join('\n').toStdString();
        ASSERT_EQ(t.rows.size(), 1u);
        EXPECT_EQ(t.rows[0].pile, "P1");
        EXPECT_EQ(t.rows[0].file, "a.sgy");
        EXPECT_EQ(t.rows[0].designLengthM, 12.5);
        EXPECT_EQ(t.rows[0].knownLengthM, 12.25);
        EXPECT_EQ(t.rows[0].note, QString::fromUtf8("нота"));
    }
}

TEST(SiteTable, BadRowsAreNamedByLineAndTheRestStand) {
    const SiteTable t = ParseSiteTable("pile,file,design_length_m\n"
                                       "P1,a.sgy,12\n"
                                       "P2,b.sgy,twelve\n" // line 3: not a number
                                       ",c.sgy,12\n"       // line 4: no pile
                                       "P3,d.sgy,12,5\n"   // line 5: an unquoted decimal comma
                                       "P4,e.sgy,-3\n"     // line 6: no length is negative
                                       "P5,f.sgy,\n");
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[0].pile, "P1");
    EXPECT_EQ(t.rows[1].pile, "P5");
    EXPECT_FALSE(t.rows[1].designLengthM);
    ASSERT_EQ(t.messages.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(t.messages[i].startsWith(QString("site.csv line %1: ").arg(i + 3))) << t.messages[i].toStdString();
    EXPECT_TRUE(t.messages[0].contains("twelve"));
}

TEST(SiteTable, AHeaderWithoutPileAndFileMakesTheTableUnusable) {
    const SiteTable t = ParseSiteTable("name;recording\nP1;a.sgy\n");
    EXPECT_FALSE(t.usable);
    ASSERT_EQ(t.messages.size(), 1);
    EXPECT_TRUE(t.messages[0].startsWith("site.csv line 1: "));
}

TEST(SiteVelocity, LeavesOutPilesBeyondFivePercentOfTheMean) {
    // Eleven piles averaging 3754.5 m/s: 3400 is 9.4% below, 4000 6.5% above.
    const double v[] = {3400, 4000, 3700, 3720, 3750, 3760, 3780, 3790, 3800, 3810, 3789.5};
    std::vector<PileSpeed> speeds;
    for (std::size_t i = 0; i < std::size(v); ++i)
        speeds.push_back({QString("P%1").arg(i + 1), v[i]});
    const Calibration c = CalibrateVelocity(speeds);
    ASSERT_TRUE(c.value);
    EXPECT_NEAR(*c.value, 3767.0, 3767.0 * 0.005);
    ASSERT_EQ(c.excluded.size(), 2u);
    EXPECT_EQ(c.excluded[0].pile, "P1");
    EXPECT_NEAR(c.excluded[0].deviationPct, -9.44, 0.01);
    EXPECT_EQ(c.excluded[1].pile, "P2");
    EXPECT_NEAR(c.excluded[1].deviationPct, 6.54, 0.01);
    EXPECT_EQ(c.used.size(), 9u);
    EXPECT_TRUE(c.warnings.isEmpty());
}

TEST(SiteVelocity, WarnsOnFewPilesOrAnImplausibleSpeed) {
    struct Case {
        const char* name;
        std::vector<double> speeds;
        bool value;
        QString warning;
    };
    const Case cases[] = {
        {"four piles", {3800, 3810, 3790, 3800}, true, "rests on 4 pile(s)"},
        {"too slow", {2800, 2810, 2790, 2800, 2805}, true, "outside 3000–4500"},
        {"none", {}, false, "cannot be calibrated"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<PileSpeed> speeds;
        for (double v : c.speeds)
            speeds.push_back({"P", v});
        const Calibration cal = CalibrateVelocity(speeds);
        EXPECT_EQ(bool(cal.value), c.value);
        ASSERT_EQ(cal.warnings.size(), 1);
        EXPECT_TRUE(cal.warnings[0].contains(c.warning)) << cal.warnings[0].toStdString();
    }
    EXPECT_DOUBLE_EQ(SpeedFromLength(12.0, 6.0), 4000.0);
}

TEST(BlowStack, LeavesOutAReversedBlowAndAnotherPilesBlow) {
    analysis::PileModel pile, other;
    pile.lengthM = 10;
    other.lengthM = 7;
    other.sections = {{3, 4, 0.5}}; // and a neck
    std::vector<std::vector<double>> traces;
    for (int i = 0; i < 6; ++i) {
        analysis::BlowRecording r;
        r.noise = 0.02;
        r.seed = uint64_t(i + 1);
        r.preTriggerS = 0.001 + 0.0002 * i; // the blows do not start at the same sample
        traces.push_back(analysis::SimulateBlow(i == 4 ? other : pile, r));
        if (i == 1)
            for (double& v : traces.back())
                v = -v;
    }
    const std::vector<std::span<const double>> blows(traces.begin(), traces.end());
    const BlowStack s = StackBlows(blows, 1.0 / 25000, ProgramBlowSearch(), ProgramToeSearch());
    ASSERT_EQ(s.rejected.size(), 2u);
    EXPECT_EQ(s.rejected[0].blow, 1);
    EXPECT_EQ(s.rejected[1].blow, 4);
    EXPECT_LT(s.rejected[0].correlation, 0.0);
    EXPECT_LT(s.rejected[1].correlation, 0.9);
    EXPECT_EQ(s.used, (std::vector<int>{0, 2, 3, 5}));
    // Aligned and scaled: the average's blow is 1 at the common blow sample, the toe where the model has it.
    EXPECT_NEAR(s.average[std::size_t(s.blowIndex)], 1.0, 0.05);
    ASSERT_TRUE(s.toe.found);
    EXPECT_NEAR(s.toe.timeMs, analysis::ToeTimeS(pile) * 1000.0, 0.05);
    // Each blow as it went into the average, left-out ones too: the used ones average to it, and
    // the reversed one shows reversed at the common blow sample.
    EXPECT_EQ(s.blowOf, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    ASSERT_EQ(s.blows.size(), 6u);
    for (std::size_t i = 0; i < s.average.size(); ++i) {
        double sum = 0.0;
        for (int b : s.used) {
            ASSERT_EQ(s.blows[std::size_t(b)].size(), s.average.size());
            sum += s.blows[std::size_t(b)][i];
        }
        ASSERT_NEAR(sum / double(s.used.size()), s.average[i], 1e-9) << i;
    }
    EXPECT_NEAR(s.blows[1][std::size_t(s.blowIndex)], -1.0, 0.1);
}

TEST(BlowStack, TwoBlowsThatDisagreeLeaveNoConsistentBlow) {
    PileTrace a, b;
    b.sign = -1.0;
    const auto ta = a.build(), tb = b.build();
    const BlowStack s = StackBlows({ta, tb}, 20e-6, LargestMark, LargestLater);
    EXPECT_TRUE(s.used.empty());
    EXPECT_TRUE(s.average.empty());
    EXPECT_FALSE(s.toe.found);
    EXPECT_EQ(s.rejected.size(), 2u);
}

TEST(BlowStack, AFlatBlowIsLeftOutAndOneBlowStandsAlone) {
    const std::vector<double> flat(2048, 0.0);
    const auto good = PileTrace{}.build();
    const BlowStack s = StackBlows({flat, good}, 20e-6, LargestMark, LargestLater);
    EXPECT_EQ(s.used, std::vector<int>{1});
    ASSERT_EQ(s.rejected.size(), 1u);
    EXPECT_EQ(s.rejected[0].blow, 0);
    EXPECT_TRUE(std::isnan(s.rejected[0].correlation));
}

TEST(PileClass, FollowsTheWrittenRules) {
    const TraceAnomaly weak{2.0, "neck", 0.2}, strong{2.0, "neck", 0.7};
    struct Case {
        bool toe;
        std::vector<TraceAnomaly> anomalies;
        PileClass expected;
    };
    const Case cases[] = {
        {true, {}, PileClass::I},           {true, {weak}, PileClass::II},     {true, {weak, strong}, PileClass::III},
        {false, {strong}, PileClass::IV},   {false, {weak}, PileClass::None},  {false, {}, PileClass::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.expected));
        EXPECT_EQ(ProposeClass(c.toe, c.anomalies), c.expected);
    }
    // The threshold is an option.
    EXPECT_EQ(ProposeClass(true, {weak}, ClassRules{0.1}), PileClass::III);
}

} // namespace
} // namespace zarno::site
