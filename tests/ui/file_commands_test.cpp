// The selection commands of the program as it is put together: the main frame opening the real file
// operation dialogs, against `zarno-device serve` on 127.0.0.1. (The application and the private
// settings folder come from the environment that main_window_test.cpp registers.)

#include "app/ui/control_form.h"
#include "app/ui/dialogs/dlg_copy.h"
#include "app/ui/dialogs/file_operation_dialogs.h"
#include "app/ui/list_file_view.h"
#include "app/ui/main_frame.h"
#include "app/ui/splitter_frame.h"

#include "tests/support/device_process.h"
#include "tests/support/gui_app.h"
#include "tests/support/recording_prompts.h"
#include "tests/ui/gui_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

using namespace zarno;
using namespace zarno::testing;

namespace {

int RowNamed(const PanelModel& model, const QString& name) {
    for (int r = 0; r < model.rowCount(); ++r)
        if (model.entry(r)->fileName == name)
            return r;
    return -1;
}

// F5 on a recording of the instrument's panel: the copy dialog proposes the SEG-Y name, OK
// downloads and converts it, and the computer panel lists the new file.
TEST(FileCommands, CopyARecordingFromTheInstrumentThroughTheCopyDialog) {
    QTemporaryDir samples, target;
    ASSERT_EQ(std::system(("'" + ExecutableDirectory() + "/zarno-device' make-samples '" +
                           samples.path().toStdString() + "' >/dev/null")
                              .c_str()),
              0);
    DeviceProcess device(samples.path().toStdString());
    WriteLoopbackLink(device.port);
    WriteWindowValue("Current Right Directory", target.path());

    RecordingPrompts prompts; // the dialogs are real; what they would say is recorded
    CMainFrame frame(prompts, nullptr);
    FileOperationDialogs dialogs(frame.files(), prompts, &frame);
    frame.setFileDialogs(&dialogs);
    ASSERT_TRUE(frame.Create());
    frame.CreateFileManagerWindow();
    frame.showAsPlaced();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));

    CControlForm* header = frame.panelHeader(0);
    header->chooseDrive(header->driveList()->count() - 1); // "z:\"
    ASSERT_TRUE(frame.files().panelState(0).onDevice);
    const int row = RowNamed(frame.files().model(0), QStringLiteral("PILE12.DDB"));
    ASSERT_GE(row, 0);
    QTableView* table = frame.panelList(0)->table();
    table->setFocus();
    table->selectionModel()->select(table->model()->index(row, 0),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);

    bool dialogSeen = false;
    WhenModal<CDlgCopy>([&dialogSeen](CDlgCopy* dialog) {
        dialogSeen = true;
        dialog->okButton()->click();
    });
    frame.runCommand(kCmdCopy);
    EXPECT_TRUE(dialogSeen);

    QFile sgy(QDir(target.path()).filePath(QStringLiteral("PILE12.sgy")));
    ASSERT_TRUE(sgy.open(QIODevice::ReadOnly)) << "no SEG-Y file downloaded";
    EXPECT_GT(sgy.size(), 3600); // text and binary headers, then traces
    EXPECT_GE(RowNamed(frame.files().model(1), QStringLiteral("PILE12.sgy")), 0) << "panel not refilled";
    for (const QString& text : prompts.texts())
        EXPECT_EQ(text, QStringLiteral("Нет доступных COM - портов!")) << "an unexpected message";
    frame.close();
}

} // namespace
