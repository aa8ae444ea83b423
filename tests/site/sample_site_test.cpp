// The simulator's sample site holds what it is made to show: a speed calibrated on five piles, the
// reversed blow left out, the necked pile flagged and the short pile's deviation.

#include "app/site/analysis_search.h"
#include "app/site/site_survey.h"
#include "device/sample_site.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace zarno::site {
namespace {

TEST(SampleSite, ShowsWhatItIsMadeToShow) {
    QTemporaryDir dir;
    std::string error;
    ASSERT_TRUE(device::WriteSampleSite(dir.path().toStdString(), &error)) << error;
    const SiteResult s = SurveySite(dir.path(), {}, ProgramBlowSearch(), ProgramToeSearch());
    EXPECT_TRUE(s.messages.isEmpty()) << s.messages.join('\n').toStdString();
    ASSERT_EQ(s.velocity.source, VelocitySource::Calibrated);
    EXPECT_NEAR(*s.velocity.value, 3800.0, 38.0);
    EXPECT_EQ(s.velocity.calibration.used.size(), 5u);
    ASSERT_EQ(s.piles.size(), 8u);
    for (const PileResult& p : s.piles) {
        SCOPED_TRACE(p.pile.toStdString());
        EXPECT_EQ(p.blows, 3);
        EXPECT_EQ(p.stack.rejected.size(), p.pile == "P03" ? 1u : 0u);
        ASSERT_TRUE(p.deviationPct);
        if (p.pile == "P06")
            EXPECT_TRUE(p.proposedClass == PileClass::III || p.proposedClass == PileClass::IV);
        else
            EXPECT_EQ(p.proposedClass, PileClass::I);
        EXPECT_NEAR(*p.deviationPct, p.pile == "P07" ? -7.1 : 0.0, 1.0);
    }
    EXPECT_EQ(s.piles[2].stack.rejected[0].blow, 1);
}

} // namespace
} // namespace zarno::site
