// The shell in English: on a desktop whose locale is not Russian the program's windows (the main
// window and its menus, the panels and their context menu, the link settings, the drives, the report
// settings, the wait window, the file operations' dialogs), the signal viewer with its dialogs and the
// transport library's window show no Cyrillic.

#include "app/i18n/translation.h"
#include "app/link/transport_link.h"
#include "app/remotedisk/remote_device.h"
#include "app/ui/dlg_disk.h"
#include "app/ui/dlg_wait.h"
#include "app/ui/link_settings_sheets.h"
#include "app/ui/list_file_view.h"
#include "app/ui/main_frame.h"
#include "app/ui/site/site_frame.h"
#include "app/sitemodels/pile_table_model.h"
#include "device/sample_site.h"
#include "app/ui/print_report_dialog.h"
#include "app/ui/dialogs/dlg_copy.h"
#include "app/ui/dialogs/dlg_copy_many.h"
#include "app/ui/dialogs/dlg_create_directory.h"
#include "app/ui/dialogs/dlg_delete.h"
#include "app/ui/dialogs/dlg_delete_many.h"
#include "app/ui/dialogs/dlg_transform.h"
#include "app/ui/dialogs/my_message_box.h"
#include "app/ui/splitter_frame.h"
#include "app/ui/viewer/dlg_nscreen.h"
#include "app/ui/viewer/pict_form.h"
#include "app/ui/viewer/pict_view.h"
#include "app/ui/viewer/property_sheet_sgy.h"
#include "app/ui/viewer/splitter_pict_frame.h"
#include "app/viewer/pict_panel_model.h"

#include "tests/fileops/fake_panel_host.h"
#include "tests/support/gui_app.h"
#include "tests/support/recording_prompts.h"
#include "tests/support/screen_texts.h"
#include "tests/support/sgy_fixture.h"
#include "tests/ui/gui_test_support.h"

#include <QMenu>
#include <QTabWidget>
#include <QTableView>
#include <QMenuBar>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace zarno;
using namespace zarno::testing;

namespace {

// The locale of an English desktop, chosen as the program chooses at start (before the transport
// library is loaded, which reads the choice once).
class EnglishDesktop : public ::testing::Environment {
public:
    void SetUp() override {
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "ZARNO_LANGUAGE"})
            qunsetenv(name);
        qputenv("LANG", "en_US.UTF-8");
        ASSERT_EQ(ChooseLanguage(std::nullopt), Language::English);
        ASSERT_TRUE(UseLanguage(Language::English));
    }
};

// The viewer's GL widget needs a platform with OpenGL: the X server the window tests run under.
[[maybe_unused]] const bool g_xcb = qEnvironmentVariableIsSet("DISPLAY") && qputenv("QT_QPA_PLATFORM", "xcb");

[[maybe_unused]] ::testing::Environment* const g_gui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);
[[maybe_unused]] ::testing::Environment* const g_english = ::testing::AddGlobalTestEnvironment(new EnglishDesktop);

// Fails with every Cyrillic text the windows show; a walk that saw no texts at all would prove
// nothing, so it must have seen some.
void ExpectEnglish(std::initializer_list<QWidget*> windows) {
    ScreenTexts texts;
    for (QWidget* w : windows)
        texts.Walk(w);
    EXPECT_GT(texts.seen(), 0);
    EXPECT_TRUE(texts.cyrillic().isEmpty()) << texts.cyrillic().join(QLatin1Char('\n')).toStdString();
}

QStringList MenuTitles(QMenuBar* bar) {
    QStringList titles;
    for (QAction* action : bar->actions())
        titles << action->text();
    return titles;
}

// The main window as the program opens it, with the file manager when asked, shown on screen; null
// when it could not be.
std::unique_ptr<CMainFrame> ShownMainFrame(RecordingPrompts& prompts, RecordingDialogs& dialogs, bool fileManager) {
    auto frame = std::make_unique<CMainFrame>(prompts, &dialogs);
    if (!frame->Create())
        return nullptr;
    if (fileManager)
        frame->CreateFileManagerWindow();
    frame->showAsPlaced();
    if (!QTest::qWaitForWindowExposed(frame.get()))
        return nullptr;
    return frame;
}

TEST(EnglishShell, TheMainWindowItsPanelsAndTheTransportWindow) {
    WriteLoopbackLink();
    RecordingPrompts prompts;
    RecordingDialogs dialogs;
    auto frame = ShownMainFrame(prompts, dialogs, true);
    ASSERT_TRUE(frame);
    QApplication::processEvents();
    EXPECT_EQ(MenuTitles(frame->menuBar()), QStringList({"File", "Transport", "View", "Window", "Help"}));
    std::unique_ptr<QMenu> context(frame->panelList(0)->buildContextMenu(nullptr));
    frame->runCommand(kCmdShowTransport);
    QApplication::processEvents();
    QWidget* transport = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QStringLiteral("velnetDebugWindow"))
            transport = widget;
    ASSERT_NE(transport, nullptr);
    EXPECT_EQ(transport->windowTitle(), "Debug");
    ExpectEnglish({frame.get(), context.get(), transport});
    // Whatever the start said (the link finds nobody at the other end) was said in English too.
    for (const QString& text : prompts.texts())
        EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("[\\x{0400}-\\x{04FF}]")))) << text.toStdString();
    frame->close();
}

TEST(EnglishShell, TheDialogs) {
    RecordingPrompts prompts;
    CRemoteDevice device(CTransportLink::Instance(), prompts);
    CPropertySheetCOM com(device, prompts);
    CPropertySheetEthernet network(device);
    CDlgDisk drives({DriveInfo{}});
    CPrintReport report;
    CDlgWait wait;
    EXPECT_EQ(network.windowTitle(), "Network settings");
    ExpectEnglish({&com, &network, &drives, &report, &wait});
}

TEST(EnglishShell, TheFileOperationDialogs) {
    QTemporaryDir left, right;
    QFile file(left.filePath("NOTES.TXT"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    FakePanelHost host;
    host.ShowComputer(0, left.path());
    host.ShowComputer(1, right.path());
    RecordingPrompts prompts;
    const CFileEntry& notes = host.At(0, "NOTES.TXT");
    CDlgCopy copy(host, prompts, 0, notes, "NOTES.TXT");
    CDlgCopyMany copyMany(host, prompts, 0, 2);
    CDlgCreateDirectory makeDirectory(host, prompts, 0);
    CDlgDelete erase(host, prompts, 0, notes);
    CDlgDeleteMany eraseMany(host, prompts, 0, 2);
    CDlgTransform transform(host, prompts, 0, 2);
    CMyMessageBox overwrite(right.filePath("NOTES.TXT"));
    EXPECT_EQ(copy.windowTitle(), "Copy files");
    ExpectEnglish({&copy, &copyMany, &makeDirectory, &erase, &eraseMany, &transform, &overwrite});
}

// The viewer of a three-trace recording with its markers placed, in both its modes, then its header
// viewer, its display settings and its report dialog: every text the user reads there is English.
TEST(EnglishViewer, TheViewerAndItsDialogs) {
    QTemporaryDir dir;
    const QString sgy = dir.filePath(QStringLiteral("PILE.sgy"));
    ASSERT_TRUE(SgyFixture::OfSamples({HalfSinePile(1024, 300, 1000), HalfSinePile(1024, 300, 800),
                                       HalfSinePile(1024, 300, 600)})
                    .write(sgy));
    WriteLoopbackLink();
    RecordingPrompts prompts;
    RecordingDialogs dialogs;
    auto frame = ShownMainFrame(prompts, dialogs, false);
    ASSERT_TRUE(frame);
    prompts.records.clear(); // the start's own messages, checked by the shell's test
    auto* viewer = qobject_cast<CSplitterPictFrame*>(frame->OpenViewer(sgy));
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(viewer->doc().Data().m_bLoaded);
    // The file holds more traces than the viewer shows: that warning is read too.
    ASSERT_EQ(prompts.texts().size(), 1u);
    EXPECT_EQ(prompts.texts()[0], "The file holds 3 traces; only the first two are loaded and shown.");
    MarkerSet markers;
    markers.position = {320, 160, 0, 0, 0};
    viewer->model().SetMarkers(markers);
    viewer->model().ShowMarkerReadout(320);
    viewer->panel()->Refresh(true);
    QApplication::processEvents();
    ExpectEnglish({frame.get(), viewer});

    viewer->runCommand(kCmdSpectrum);
    viewer->model().ShowMarkerReadout(20);
    viewer->panel()->Refresh(true);
    QApplication::processEvents();
    EXPECT_TRUE(viewer->model().TimeReadout().startsWith("Frequency (Hz):"))
        << viewer->model().TimeReadout().toStdString();
    ExpectEnglish({viewer});

    CPropertySheetSGY headers(sgy, prompts);
    CDlgNScreen display(prompts);
    ExpectEnglish({&headers, &display});

    QStringList reportTexts;
    WhenModal<CPrintReport>([&reportTexts](CPrintReport* d) {
        ScreenTexts texts;
        texts.Walk(d);
        reportTexts = texts.cyrillic();
        reportTexts << QString::number(texts.seen());
        d->reject();
    });
    viewer->OnPrintReport();
    ASSERT_FALSE(reportTexts.isEmpty()) << "the report dialog never opened";
    EXPECT_GT(reportTexts.takeLast().toInt(), 0);
    EXPECT_TRUE(reportTexts.isEmpty()) << reportTexts.join('\n').toStdString();
    frame->close();
}

// The site window on the sample site, its table, speed line and both pages, and a pile opened from it
// in the viewer with the command that takes the length back to the site.
TEST(EnglishSite, TheSiteWindowAndAPileOpenedFromIt) {
    QTemporaryDir dir;
    std::string error;
    ASSERT_TRUE(device::WriteSampleSite(dir.path().toStdString(), &error)) << error;
    WriteLoopbackLink();
    RecordingPrompts prompts;
    RecordingDialogs dialogs;
    auto frame = ShownMainFrame(prompts, dialogs, true);
    ASSERT_TRUE(frame);
    prompts.records.clear();
    CSiteFrame* site = frame->OpenSite(dir.path());
    ASSERT_TRUE(site);
    // A survey of the sample site takes a few seconds; a sanitizer build several times that.
    QTRY_VERIFY_WITH_TIMEOUT(!site->surveying() && site->model().rowCount() > 0, 180000);
    QAbstractItemModel* table = site->table()->model();
    int necked = -1; // P06: its anomalies are in the table
    for (int r = 0; r < table->rowCount(); ++r)
        if (table->index(r, 0).data().toString() == QLatin1String("P06"))
            necked = r;
    ASSERT_GE(necked, 0);
    site->table()->setCurrentIndex(table->index(necked, 0));
    EXPECT_TRUE(table->index(necked, site::PileTableModel::Anomalies).data().toString().contains(" m reduction "));
    QApplication::processEvents();
    ExpectEnglish({site});
    site->pages()->setCurrentIndex(1);
    QApplication::processEvents();
    ExpectEnglish({site});

    site->table()->setFocus();
    QTest::keyClick(site->table(), Qt::Key_Return);
    auto* viewer = qobject_cast<CSplitterPictFrame*>(frame->viewerFrame());
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(viewer->action(kCmdLengthToSite));
    EXPECT_EQ(viewer->action(kCmdLengthToSite)->text(), "Length at marker to the site");
    ExpectEnglish({viewer});
    EXPECT_EQ(prompts.texts(), std::vector<QString>{});
    frame->close();
}

} // namespace
