// The site window on the simulator's sample site: opened from the main window, the table filled by
// the background survey, sorted and marked, the speed set by hand, a pile opened in the signal
// viewer, and the engineer's decisions kept in the site's table across a restart.

#include "app/ui/main_frame.h"
#include "app/ui/site/pile_views.h"
#include "app/ui/site/site_frame.h"
#include "app/ui/viewer/splitter_pict_frame.h"
#include "app/ui/zarno_app.h"
#include "app/sitemodels/pile_table_model.h"
#include "app/viewer/pict_panel_model.h"
#include "device/sample_site.h"

#include "app/ui/splitter_frame.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/recording_prompts.h"
#include "tests/ui/gui_test_support.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLocale>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace zarno;
using namespace zarno::testing;

namespace {

// The viewer's GL widget needs a platform with OpenGL: the X server the window tests run under.
[[maybe_unused]] const bool g_xcb = qEnvironmentVariableIsSet("DISPLAY") && qputenv("QT_QPA_PLATFORM", "xcb");

[[maybe_unused]] ::testing::Environment* const g_gui =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

// A survey of the sample site takes a few seconds; a sanitizer build several times that.
constexpr int kSurveyMs = 180000;

class SiteWindow : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(device::WriteSampleSite(m_dir.path().toStdString(), &error)) << error;
        WriteLoopbackLink();
        startProgram();
    }
    void TearDown() override {
        if (m_frame)
            m_frame->close();
    }

    void startProgram() {
        m_frame = std::make_unique<CMainFrame>(m_prompts, &m_dialogs);
        ASSERT_TRUE(m_frame->Create());
        m_frame->CreateFileManagerWindow();
        m_frame->showAsPlaced();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_frame.get()));
        m_prompts.records.clear(); // the start's own messages (no serial ports)
    }
    void restartProgram() {
        m_frame->close();
        m_frame.reset();
        startProgram();
    }

    CSiteFrame* openSite() {
        CSiteFrame* site = m_frame->OpenSite(m_dir.path());
        EXPECT_TRUE(site);
        if (site)
            waitForSurvey(site);
        return site;
    }
    static void waitForSurvey(CSiteFrame* site) {
        QTRY_VERIFY_WITH_TIMEOUT(!site->surveying() && site->model().rowCount() > 0, kSurveyMs);
        QApplication::processEvents();
    }

    // The table's row of a pile, as shown (sorted).
    static int rowOf(CSiteFrame* site, const QString& pile) {
        QAbstractItemModel* m = site->table()->model();
        for (int r = 0; r < m->rowCount(); ++r)
            if (m->index(r, site::PileTableModel::Pile).data().toString() == pile)
                return r;
        return -1;
    }
    static QString cell(CSiteFrame* site, const QString& pile, int column) {
        return site->table()->model()->index(rowOf(site, pile), column).data().toString();
    }

    QTemporaryDir m_dir;
    RecordingPrompts m_prompts;
    RecordingDialogs m_dialogs;
    std::unique_ptr<CMainFrame> m_frame;
};

TEST_F(SiteWindow, ShowsTheSurveyedSiteWithThePilesToLookAtMarked) {
    CSiteFrame* site = openSite();
    ASSERT_TRUE(site);
    EXPECT_EQ(m_frame->mdiArea()->activeSubWindow(), site);
    QAbstractItemModel* table = site->table()->model();
    ASSERT_EQ(table->rowCount(), 8);
    EXPECT_TRUE(site->velocityLabel()->text().contains(QStringLiteral("по сваям известной длины")))
        << site->velocityLabel()->text().toStdString();
    // The reversed blow, the neck and the short pile are marked; the sound piles are not.
    for (int r = 0; r < table->rowCount(); ++r) {
        const QString pile = table->index(r, 0).data().toString();
        SCOPED_TRACE(pile.toStdString());
        const bool expected = pile == "P03" || pile == "P06" || pile == "P07";
        EXPECT_EQ(table->index(r, 0).data(site::PileTableModel::NeedsLookRole).toBool(), expected);
    }
    EXPECT_EQ(cell(site, "P03", site::PileTableModel::Blows), "2/3");
    EXPECT_EQ(m_prompts.records.size(), 0u);

    // A click on a column's header sorts by it: the worst deviation first.
    QHeaderView* header = site->table()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(site::PileTableModel::Deviation) + 5, header->height() / 2));
    if (header->sortIndicatorOrder() == Qt::AscendingOrder)
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(site::PileTableModel::Deviation) + 5, header->height() / 2));
    EXPECT_EQ(table->index(0, 0).data().toString(), "P07");

    // The selected pile is drawn beside the table; every pile on the stacked page, which scrolls.
    site->table()->setCurrentIndex(table->index(rowOf(site, "P06"), 0));
    ASSERT_TRUE(site->traceView()->pile());
    EXPECT_EQ(site->traceView()->pile()->pile, "P06");
    // Eight strips of 26 mm each: more than a window shows, hence the scroll area.
    EXPECT_GE(site->stackedView()->sizeHint().height(), int(8 * 26.0 * site->stackedView()->logicalDpiY() / 25.4));
}

TEST_F(SiteWindow, ASpeedSetByHandRecomputesEveryLengthAndClearingItGoesBack) {
    CSiteFrame* site = openSite();
    ASSERT_TRUE(site);
    const double calibrated = *site->site().velocity.value;
    std::map<QString, double> before;
    for (const auto& p : site->site().piles)
        before[p.pile] = *p.lengthM;

    site->velocityField()->setFocus();
    site->velocityField()->setText(QStringLiteral("4000"));
    QTest::keyClick(site->velocityField(), Qt::Key_Return);
    EXPECT_EQ(site->site().velocity.source, site::VelocitySource::Given);
    EXPECT_TRUE(site->velocityLabel()->text().contains(QStringLiteral("4000")));
    for (const auto& p : site->site().piles) {
        SCOPED_TRACE(p.pile.toStdString());
        EXPECT_NEAR(*p.lengthM, before[p.pile] * 4000.0 / calibrated, 1e-9);
        EXPECT_EQ(cell(site, p.pile, site::PileTableModel::Length), QLocale(QLocale::Russian).toString(*p.lengthM, 'f', 2));
    }
    // At 4000 m/s every pile comes out some 5% long: the table marks them.
    EXPECT_TRUE(site->model().index(0, 0).data(site::PileTableModel::NeedsLookRole).toBool());

    site->velocityField()->clear();
    QTest::keyClick(site->velocityField(), Qt::Key_Return);
    EXPECT_EQ(site->site().velocity.source, site::VelocitySource::Calibrated);
    for (const auto& p : site->site().piles)
        EXPECT_DOUBLE_EQ(*p.lengthM, before[p.pile]);

    // Not a speed: told, nothing changes.
    site->velocityField()->setText(QStringLiteral("fast"));
    QTest::keyClick(site->velocityField(), Qt::Key_Return);
    ASSERT_EQ(m_prompts.records.size(), 1u);
    EXPECT_EQ(site->site().velocity.source, site::VelocitySource::Calibrated);
}

TEST_F(SiteWindow, EnterOpensThePileInTheViewerWithTheSiteSpeed) {
    CSiteFrame* site = openSite();
    ASSERT_TRUE(site);
    site->table()->setFocus();
    site->table()->setCurrentIndex(site->table()->model()->index(rowOf(site, "P02"), 0));
    QTest::keyClick(site->table(), Qt::Key_Return);
    auto* viewer = qobject_cast<CSplitterPictFrame*>(m_frame->viewerFrame());
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(viewer->windowTitle().contains("P02"));
    EXPECT_TRUE(viewer->doc().Data().m_bLoaded);
    EXPECT_DOUBLE_EQ(viewer->doc().Data().m_dVelocity, *site->site().velocity.value);
    EXPECT_TRUE(viewer->action(kCmdLengthToSite));
    viewer->close();
    // Nothing was written beside a file the viewer does not have.
    EXPECT_FALSE(QFile::exists(QDir::current().filePath("VARY.ini")));
}

TEST_F(SiteWindow, DecisionsAreKeptInTheSiteTableAcrossARestart) {
    CSiteFrame* site = openSite();
    ASSERT_TRUE(site);
    // A class typed into the table's cell.
    QAbstractItemModel* table = site->table()->model();
    ASSERT_TRUE(table->setData(table->index(rowOf(site, "P06"), site::PileTableModel::Class), QStringLiteral("II")));
    // A length taken at the viewer's marker.
    site->table()->setCurrentIndex(table->index(rowOf(site, "P07"), 0));
    site->OpenCurrentPile();
    auto* viewer = qobject_cast<CSplitterPictFrame*>(m_frame->viewerFrame());
    ASSERT_TRUE(viewer);
    PictPanelModel& panel = viewer->model();
    viewer->viewState().markers.Current() = viewer->doc().Data().m_nZeroSample + 200;
    const std::optional<double> marked = panel.CurrentMarkerLength();
    ASSERT_TRUE(marked);
    viewer->runCommand(kCmdLengthToSite);
    EXPECT_EQ(cell(site, "P07", site::PileTableModel::Length), QLocale(QLocale::Russian).toString(*marked, 'f', 2));
    viewer->close();
    EXPECT_TRUE(m_prompts.records.empty());

    QFile csv(QDir(m_dir.path()).filePath("SITE.CSV"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(csv.readAll());
    EXPECT_TRUE(text.contains("decided_class")) << text.toStdString();

    restartProgram();
    site = openSite();
    ASSERT_TRUE(site);
    EXPECT_EQ(cell(site, "P06", site::PileTableModel::Class), "II");
    EXPECT_EQ(cell(site, "P07", site::PileTableModel::Length), QLocale(QLocale::Russian).toString(*marked, 'f', 2));
    // The site report is written with them.
    const QString pdf = QDir(m_dir.path()).filePath("report.pdf");
    EXPECT_TRUE(site->WriteReport(pdf));
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(5) == "%PDF-");
}

TEST_F(SiteWindow, TheMenuOffersTheSiteAndAFolderIsOneWindow) {
    QMenu* file = m_frame->menuBar()->findChild<QMenu*>(QStringLiteral("fileMenu"));
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->actions().contains(m_frame->action(kCmdOpenSite)));
    // The same folder twice is one window.
    CSiteFrame* first = m_frame->OpenSite(m_dir.path());
    EXPECT_EQ(m_frame->OpenSite(m_dir.path() + "/"), first);
    waitForSurvey(first);
}

// `zarno FOLDER`, as the README's main command starts the program: the whole application, its
// folder given as the command line's file; the site window comes up beside the file manager, both
// in sight.
TEST(SiteCommandLine, AFolderOpensAsASiteBesideTheFileManager) {
    QTemporaryDir dir;
    std::string error;
    ASSERT_TRUE(device::WriteSampleSite(dir.path().toStdString(), &error)) << error;
    WriteLoopbackLink();
    std::unique_ptr<CZarnoApp> app;
    {
        ModalAnswerer answerer(ModalAnswerer::Answer::Ok); // the start's "no serial ports"
        app = std::make_unique<CZarnoApp>();
        ASSERT_TRUE(app->InitInstance());
    }
    CMainFrame* frame = app->mainFrame();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    app->OpenCommandLineFile(dir.path());
    auto* site = qobject_cast<CSiteFrame*>(frame->mdiArea()->activeSubWindow());
    ASSERT_TRUE(site);
    EXPECT_EQ(site->folder(), QDir(dir.path()).absolutePath());
    QTRY_VERIFY_WITH_TIMEOUT(!site->surveying() && site->model().rowCount() == 8, kSurveyMs);
    QWidget* manager = frame->splitterFrame();
    ASSERT_TRUE(manager);
    EXPECT_TRUE(manager->isVisible());
    EXPECT_FALSE(manager->geometry().intersects(site->geometry()));
    ModalAnswerer answerer(ModalAnswerer::Answer::Ok);
    app.reset();
}

} // namespace
