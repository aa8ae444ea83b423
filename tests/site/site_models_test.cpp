// The site window's logic without a window: which piles are marked for a look, the table's order,
// decisions edited in the table going through the store, and the survey run in its own thread.

#include "app/site/analysis_search.h"
#include "app/sitemodels/pile_concerns.h"
#include "app/sitemodels/pile_table_model.h"
#include "app/sitemodels/site_survey_job.h"
#include "device/sample_site.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <memory>

namespace zarno::site {
namespace {

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "site_models_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// A pile that needs no look: a toe, on its design length, class I, every blow used.
PileResult SoundPile(const QString& name, double lengthM = 10.0) {
    PileResult p;
    p.pile = name;
    p.blows = 3;
    p.stack.used = {0, 1, 2};
    p.stack.toe.found = true;
    p.lengthM = lengthM;
    p.designLengthM = 10.0;
    p.deviationPct = (lengthM - 10.0) * 10.0;
    p.proposedClass = PileClass::I;
    return p;
}

TEST(PileConcerns, MarkOnlyWhatNeedsALook) {
    struct Case {
        const char* what;
        void (*change)(PileResult&);
        bool marked;
    };
    const Case cases[] = {
        {"sound", [](PileResult&) {}, false},
        {"no toe", [](PileResult& p) { p.stack.toe.found = false; }, true},
        {"no consistent blow", [](PileResult& p) { p.stack.used.clear(); }, true},
        {"5% short is within", [](PileResult& p) { p.lengthM = 9.5; }, false},
        {"5.1% long is beyond", [](PileResult& p) { p.lengthM = 10.51; }, true},
        {"7% long, decided at the design length", [](PileResult& p) {
             p.lengthM = 10.7;
             p.decidedLengthM = 10.0;
         }, false},
        {"decided 10% short", [](PileResult& p) { p.decidedLengthM = 9.0; }, true},
        {"class II", [](PileResult& p) { p.proposedClass = PileClass::II; }, false},
        {"class III", [](PileResult& p) { p.proposedClass = PileClass::III; }, true},
        {"class IV", [](PileResult& p) { p.proposedClass = PileClass::IV; }, true},
        {"III decided I by the engineer",
         [](PileResult& p) {
             p.proposedClass = PileClass::III;
             p.decidedClass = PileClass::I;
         },
         false},
        {"I decided IV by the engineer", [](PileResult& p) { p.decidedClass = PileClass::IV; }, true},
        {"a blow left out", [](PileResult& p) { p.stack.rejected.push_back({1, 0.2}); }, true},
        {"an unreadable file", [](PileResult& p) { p.problems << "P1.sgy: cut short"; }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PileResult p = SoundPile("P1");
        c.change(p);
        EXPECT_EQ(!PileConcerns(p).isEmpty(), c.marked) << PileConcerns(p).join('|').toStdString();
        PileTableModel model;
        model.setSite(SiteResult{true, {}, {}, {p}});
        EXPECT_EQ(model.index(0, PileTableModel::Deviation).data(PileTableModel::NeedsLookRole).toBool(), c.marked);
    }
}

std::vector<QString> PilesInOrder(const QAbstractItemModel& m) {
    std::vector<QString> out;
    for (int r = 0; r < m.rowCount(); ++r)
        out.push_back(m.index(r, PileTableModel::Pile).data().toString());
    return out;
}

TEST(PileTable, SortsByValueNotText) {
    SiteResult site;
    site.piles = {SoundPile("P10", 10.2), SoundPile("P2", 9.5), SoundPile("P1", 11.0), SoundPile("P3")};
    site.piles[3].lengthM.reset(); // no toe: no length
    site.piles[3].deviationPct.reset();
    PileTableModel model;
    model.setSite(site);
    PileSortModel sorted;
    sorted.setSourceModel(&model);

    sorted.sort(PileTableModel::Pile, Qt::AscendingOrder);
    EXPECT_EQ(PilesInOrder(sorted), (std::vector<QString>{"P1", "P2", "P3", "P10"}));
    sorted.sort(PileTableModel::Length, Qt::AscendingOrder);
    EXPECT_EQ(PilesInOrder(sorted), (std::vector<QString>{"P2", "P10", "P1", "P3"}));
    // Deviation by its size, the worst first; a pile without one is last either way, not "worst".
    sorted.sort(PileTableModel::Deviation, Qt::DescendingOrder);
    EXPECT_EQ(PilesInOrder(sorted), (std::vector<QString>{"P1", "P2", "P10", "P3"}));
    EXPECT_EQ(sorted.index(0, PileTableModel::Length).data().toString(), "11,00");
    sorted.sort(PileTableModel::Deviation, Qt::AscendingOrder);
    EXPECT_EQ(PilesInOrder(sorted), (std::vector<QString>{"P10", "P2", "P1", "P3"}));
}

TEST(PileTable, NamesInAPersonsOrder) {
    const std::pair<const char*, const char*> before[] = {
        {"P2", "P10"}, {"P02", "P3"}, {"p3", "P4"}, {"A9", "B1"}, {"P1", "P1a"}, {"P1-2", "P1-10"}, {"", "P1"}};
    for (const auto& [a, b] : before) {
        SCOPED_TRACE(std::string(a) + " < " + b);
        EXPECT_TRUE(NameBefore(a, b));
        EXPECT_FALSE(NameBefore(b, a));
    }
    EXPECT_FALSE(NameBefore("P7", "P7"));
}

class DecisionsInTheTable : public ::testing::Test {
protected:
    void SetUp() override {
        SiteResult site;
        site.piles = {SoundPile("P1"), SoundPile("P2", 9.0)};
        m_model.setSite(site);
        m_model.setDecisionStore([this](const QString& pile, const PileDecision& d, QString* error) {
            m_calls.push_back({pile, d});
            if (m_refuse)
                *error = QStringLiteral("site.csv is read-only");
            return !m_refuse;
        });
        QObject::connect(&m_model, &PileTableModel::decisionRefused, [this](const QString& r) { m_refusals << r; });
    }
    QModelIndex cell(int row, int column) const { return m_model.index(row, column); }

    PileTableModel m_model;
    std::vector<std::pair<QString, PileDecision>> m_calls;
    QStringList m_refusals;
    bool m_refuse = false;
};

TEST_F(DecisionsInTheTable, AnEditIsStoredThenShownAndAnEmptyCellTakesItBack) {
    EXPECT_TRUE(m_model.flags(cell(1, PileTableModel::Class)) & Qt::ItemIsEditable);
    EXPECT_FALSE(m_model.flags(cell(1, PileTableModel::Design)) & Qt::ItemIsEditable);
    ASSERT_TRUE(m_model.setData(cell(1, PileTableModel::Class), QStringLiteral("iii")));
    ASSERT_TRUE(m_model.setData(cell(1, PileTableModel::Length), QStringLiteral("9,75")));
    ASSERT_EQ(m_calls.size(), 2u);
    EXPECT_EQ(m_calls[1].first, "P2");
    EXPECT_EQ(m_calls[1].second.cls, PileClass::III); // the class stays when the length is decided
    EXPECT_EQ(m_calls[1].second.lengthM, 9.75);
    EXPECT_EQ(cell(1, PileTableModel::Class).data().toString(), "III");
    EXPECT_EQ(cell(1, PileTableModel::Length).data().toString(), "9,75");
    EXPECT_TRUE(cell(1, PileTableModel::Length).data(Qt::ToolTipRole).toString().contains("9,00"));
    EXPECT_TRUE(cell(1, PileTableModel::Length).data(PileTableModel::DecidedRole).toBool());
    EXPECT_FALSE(cell(0, PileTableModel::Length).data(PileTableModel::DecidedRole).toBool());
    EXPECT_TRUE(cell(1, PileTableModel::Pile).data(PileTableModel::NeedsLookRole).toBool()); // decided III

    ASSERT_TRUE(m_model.setData(cell(1, PileTableModel::Length), QString()));
    EXPECT_EQ(m_calls.back().second.lengthM, std::nullopt);
    EXPECT_EQ(cell(1, PileTableModel::Length).data().toString(), "9,00"); // measured again
    EXPECT_TRUE(m_refusals.isEmpty());
}

TEST_F(DecisionsInTheTable, ARefusedOrMalformedDecisionChangesNothing) {
    for (const auto& [column, text] : {std::pair{PileTableModel::Class, "V"}, {PileTableModel::Length, "-3"},
                                       {PileTableModel::Length, "long"}}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(m_model.setData(cell(0, column), QString::fromLatin1(text)));
    }
    EXPECT_TRUE(m_calls.empty()); // never handed to the store
    EXPECT_EQ(m_refusals.size(), 3);

    m_refuse = true;
    EXPECT_FALSE(m_model.setData(cell(0, PileTableModel::Class), QStringLiteral("II")));
    EXPECT_EQ(m_refusals.back(), "site.csv is read-only");
    EXPECT_EQ(cell(0, PileTableModel::Class).data().toString(), "I");
    EXPECT_EQ(m_model.site().piles[0].decidedClass, PileClass::None);
}

TEST(SiteSurveyJob, DeliversWhatTheSurveyFindsWithProgress) {
    App();
    QTemporaryDir dir;
    std::string error;
    ASSERT_TRUE(device::WriteSampleSite(dir.path().toStdString(), &error)) << error;
    SiteSurveyJob job;
    std::optional<SiteResult> got;
    int lastDone = -1, lastTotal = -1;
    QObject::connect(&job, &SiteSurveyJob::finished, [&got](const SiteResult& s) { got = s; });
    QObject::connect(&job, &SiteSurveyJob::progress, [&](int done, int total) {
        lastDone = done;
        lastTotal = total;
    });
    ASSERT_TRUE(job.start(dir.path(), {}));
    EXPECT_FALSE(job.start(dir.path(), {})); // one at a time
    QElapsedTimer timer;
    timer.start();
    while (!got && timer.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_TRUE(got);
    const SiteResult direct = SurveySite(dir.path(), {}, ProgramBlowSearch(), ProgramToeSearch());
    ASSERT_EQ(got->piles.size(), direct.piles.size());
    EXPECT_EQ(got->velocity.value, direct.velocity.value);
    for (std::size_t i = 0; i < direct.piles.size(); ++i)
        EXPECT_EQ(got->piles[i].lengthM, direct.piles[i].lengthM);
    EXPECT_EQ(lastDone, int(direct.piles.size()));
    EXPECT_EQ(lastTotal, int(direct.piles.size()));
}

TEST(SiteSurveyJob, ACancelledSurveyDeliversNothing) {
    App();
    QTemporaryDir dir;
    std::string error;
    ASSERT_TRUE(device::WriteSampleSite(dir.path().toStdString(), &error)) << error;
    SiteSurveyJob job;
    bool finished = false;
    QObject::connect(&job, &SiteSurveyJob::finished, [&finished](const SiteResult&) { finished = true; });
    // A finder that holds the first blow until the job is cancelled, so the cancel lands mid-survey.
    std::atomic<bool> inside{false}, released{false};
    std::atomic<int> calls{0};
    ASSERT_TRUE(job.start(
        dir.path(), {},
        [&](std::span<const double> t) {
            ++calls;
            inside = true;
            while (!released)
                QThread::msleep(1);
            return ProgramBlowSearch()(t);
        },
        ProgramToeSearch()));
    QElapsedTimer timer;
    timer.start();
    while (!inside && timer.elapsed() < 60000)
        QThread::msleep(1);
    job.cancel();
    released = true;
    job.wait();
    EXPECT_EQ(calls, 1); // the rest of the site went by without a search
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(finished);
    EXPECT_FALSE(job.running());
}

} // namespace
} // namespace zarno::site
