// The shell in English: on a desktop whose locale is not Russian the program's windows (the main
// window and its menus, the panels and their context menu, the link settings, the drives, the report
// settings, the wait window, the file operations' dialogs) and the transport library's window show
// no Cyrillic.

#include "app/i18n/translation.h"
#include "app/link/transport_link.h"
#include "app/remotedisk/remote_device.h"
#include "app/ui/dlg_disk.h"
#include "app/ui/dlg_wait.h"
#include "app/ui/link_settings_sheets.h"
#include "app/ui/list_file_view.h"
#include "app/ui/main_frame.h"
#include "app/ui/print_report_dialog.h"
#include "app/ui/dialogs/dlg_copy.h"
#include "app/ui/dialogs/dlg_copy_many.h"
#include "app/ui/dialogs/dlg_create_directory.h"
#include "app/ui/dialogs/dlg_delete.h"
#include "app/ui/dialogs/dlg_delete_many.h"
#include "app/ui/dialogs/dlg_transform.h"
#include "app/ui/dialogs/my_message_box.h"
#include "app/ui/splitter_frame.h"

#include "tests/fileops/fake_panel_host.h"
#include "tests/support/recording_prompts.h"
#include "tests/support/screen_texts.h"
#include "tests/ui/gui_test_support.h"

#include <QMenu>
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

TEST(EnglishShell, TheMainWindowItsPanelsAndTheTransportWindow) {
    WriteLoopbackLink();
    RecordingPrompts prompts;
    RecordingDialogs dialogs;
    auto frame = std::make_unique<CMainFrame>(prompts, &dialogs);
    ASSERT_TRUE(frame->Create());
    frame->CreateFileManagerWindow();
    frame->showAsPlaced();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
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

} // namespace
