// The file operation dialogs (offscreen): their buttons reach the operations, a name error keeps the
// dialog open, Cancel stays clickable while the instrument transfers, the overwrite box answers.

#include "app/remotedisk/transfer_cancel.h"
#include "app/ui/dialogs/dlg_copy.h"
#include "app/ui/dialogs/dlg_copy_many.h"
#include "app/ui/dialogs/gui_prompts.h"

#include "tests/fileops/fake_panel_host.h"
#include "tests/formats/ddb_fixture.h"
#include "tests/support/loopback_link.h"
#include "tests/support/device_process.h"
#include "tests/support/gui_app.h"
#include "tests/support/recording_prompts.h"
#include "tests/support/temp_config.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace zarno;
using namespace zarno::testing;

namespace {

[[maybe_unused]] ::testing::Environment* const g_gui =
    ::testing::AddGlobalTestEnvironment(new zarno::testing::GuiApplication);

TEST(FileDialogsGui, CopyWithAColonStaysOpenThenCopies) {
    QTemporaryDir left, right;
    ASSERT_TRUE(WriteFile(left.filePath("NOTES.TXT"), "notes"));
    FakePanelHost host;
    host.ShowComputer(0, left.path());
    host.ShowComputer(1, right.path());
    RecordingPrompts prompts;
    CDlgCopy dialog(host, prompts, 0, host.At(0, "NOTES.TXT"), "NOTES.TXT");
    auto* name = dialog.findChild<QLineEdit*>("targetName");
    auto* bar = dialog.findChild<QProgressBar*>("progress");
    ASSERT_TRUE(name && bar);
    EXPECT_EQ(name->maxLength(), 255);
    dialog.show();
    EXPECT_FALSE(bar->isVisible()) << "hidden until the copy starts";

    name->setText("c:NOTES.TXT");
    dialog.okButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.okButton()->isEnabled());
    EXPECT_EQ(prompts.texts(), std::vector<QString>{"Неправильно задано имя файла!"});
    EXPECT_FALSE(QFile::exists(right.filePath("c:NOTES.TXT")));

    name->setText("COPY.TXT");
    dialog.okButton()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ReadFile(right.filePath("COPY.TXT")), "notes");
    EXPECT_EQ(dialog.findChild<QLabel*>("counter")->text(), "1");
}

TEST(FileDialogsGui, CancelIsClickableDuringAnInstrumentTransfer) {
    TempConfigHome home;
    QTemporaryDir root, local;
    for (const char* name : {"A.BIN", "B.BIN"})
        ASSERT_TRUE(WriteFile(root.filePath(name), QByteArray(80000, name[0])));
    DeviceProcess process(root.path().toStdString(), {"--delay-ms", "10"});
    RecordingPrompts prompts;
    CRemoteDevice device(CTransportLink::Instance(), prompts);
    ASSERT_EQ(ConnectOverLoopback(device, process.port), 1);
    FakePanelHost host(&device);
    host.ShowDevice(0);
    host.ShowComputer(1, local.path());
    host.Select(0, {"A.BIN", "B.BIN"});

    CDlgCopyMany dialog(host, prompts, 0, 2);
    bool okWasDisabled = false;
    QString copying;
    QTimer::singleShot(50, [&] {
        dialog.okButton()->click(); // runs the copy inside this timer; the checks below run in its loop
    });
    QTimer::singleShot(600, [&] {
        okWasDisabled = !dialog.okButton()->isEnabled();
        copying = dialog.findChild<QLabel*>("from")->text();
        dialog.cancelButton()->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_TRUE(okWasDisabled);
    EXPECT_EQ(copying, "z:\\A.BIN");
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
    EXPECT_EQ(prompts.texts(), std::vector<QString>{});
    g_transferCancel.store(false);
}

TEST(FileDialogsGui, OverwriteBoxAnswers) {
    GuiPrompts prompts;
    const struct {
        const char* button;
        OverwriteAnswer answer;
    } cases[] = {{"Да", OverwriteAnswer::Yes},
                 {"Нет", OverwriteAnswer::No},
                 {"Да для всех", OverwriteAnswer::YesToAll}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        QString caption, path;
        WhenModal<QDialog>([&](QDialog* box) {
            caption = box->windowTitle();
            path = box->findChild<QLabel*>("targetPath")->text();
            for (auto* b : box->findChildren<QPushButton*>())
                if (b->text() == QString::fromUtf8(c.button))
                    b->click();
        });
        EXPECT_EQ(prompts.askOverwrite("Файл /tmp/x/A.sgy уже существует! Переписать?", "Внимание!"),
                  c.answer);
        EXPECT_EQ(caption, "Внимание!");
        EXPECT_EQ(path, "/tmp/x/A.sgy");
    }
}

} // namespace
