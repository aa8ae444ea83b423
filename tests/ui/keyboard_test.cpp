// The file manager driven by the keyboard as a two-panel user drives it: every key goes to whatever
// has the focus, so each step also proves where the focus is. A computer panel on a fixture
// directory, and the instrument through `zarno-device serve` on 127.0.0.1. (The application and the
// private settings folder come from the environment that main_window_test.cpp registers.)

#include "app/ui/control_form.h"
#include "app/ui/dialogs/dlg_copy.h"
#include "app/ui/dialogs/dlg_copy_many.h"
#include "app/ui/dialogs/dlg_create_directory.h"
#include "app/ui/dialogs/dlg_delete.h"
#include "app/ui/dialogs/file_operation_dialogs.h"
#include "app/ui/list_file_view.h"
#include "app/ui/main_frame.h"
#include "app/ui/path_form.h"
#include "app/ui/splitter_frame.h"

#include "tests/support/device_process.h"
#include "tests/support/gui_app.h"
#include "tests/support/recording_prompts.h"
#include "tests/ui/gui_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace zarno;
using namespace zarno::testing;

namespace {

bool MakeFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(QByteArray(700, 'x')) == 700;
}

int RowNamed(const PanelModel& model, const QString& name) {
    for (int r = 0; r < model.rowCount(); ++r)
        if (model.entry(r)->fileName == name)
            return r;
    return -1;
}

// Types into whatever has the focus, character by character as a keyboard layout delivers them
// (Cyrillic too), then Enter.
void TypeAndEnter(const QString& text) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus);
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::keyClick(focus, Qt::Key_Return);
}

// The main window with the real file dialogs, active, the keys in the left list.
struct KeyWindow {
    RecordingPrompts prompts;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<FileOperationDialogs> dialogs;

    KeyWindow() {
        frame = std::make_unique<CMainFrame>(prompts, nullptr);
        dialogs = std::make_unique<FileOperationDialogs>(frame->files(), prompts, frame.get());
        frame->setFileDialogs(dialogs.get());
        EXPECT_TRUE(frame->Create());
        frame->CreateFileManagerWindow();
        frame->showAsPlaced();
        frame->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        frame->panelList(0)->setFocus();
        QApplication::processEvents();
    }
    ~KeyWindow() { frame->close(); }

    CListFileView* list(int panel) const { return frame->panelList(panel); }
    PanelModel& model(int panel) const { return frame->files().model(panel); }
    QString path(int panel) const { return frame->panelPath(panel)->text(); }
    bool keysIn(int panel) const {
        QWidget* focus = QApplication::focusWidget();
        return focus && (focus == list(panel) || list(panel)->isAncestorOf(focus));
    }
    // A key as the user presses it: to whatever has the focus.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << "no widget has the focus";
        QTest::keyClick(focus, key, modifiers);
        QApplication::processEvents();
    }
    // F7, and the name typed into whatever has the keys in the dialog.
    void makeDirectory(const QString& name) {
        WhenModal<CDlgCreateDirectory>([name](CDlgCreateDirectory*) { TypeAndEnter(name); });
        press(Qt::Key_F7);
    }
    // Only this row of the left list selected.
    void selectOnly(const QString& name) {
        list(0)->table()->clearSelection();
        list(0)->table()->selectRow(RowNamed(model(0), name));
    }
};

class KeyboardPanels : public ::testing::Test {
protected:
    void SetUp() override { WriteLoopbackLink(); }
};

TEST_F(KeyboardPanels, ComputerPanel) {
    QTemporaryDir dir, other;
    ASSERT_TRUE(QDir(dir.path()).mkdir("SUB"));
    for (const char* name : {"WAVE.DDB", "notes.txt", "SUB/A.TXT", "SUB/B.TXT"})
        ASSERT_TRUE(MakeFile(dir.filePath(name)));
    WriteWindowValue("Current Left Directory", dir.path());
    WriteWindowValue("Current Right Directory", other.path());
    KeyWindow w;
    ASSERT_TRUE(w.keysIn(0));

    // Tab goes to the other list and makes it the active panel, whose path line stands out.
    for (int expected : {1, 0}) {
        SCOPED_TRACE(expected);
        w.press(Qt::Key_Tab);
        EXPECT_TRUE(w.keysIn(expected));
        EXPECT_EQ(w.frame->activePanel(), expected);
        EXPECT_TRUE(w.frame->panelPath(expected)->isActive());
        EXPECT_FALSE(w.frame->panelPath(1 - expected)->isActive());
    }

    // Enter on the cursor's directory enters it, the cursor on its first entry; Down moves it.
    w.list(0)->setCurrentRow(RowNamed(w.model(0), "SUB"));
    w.press(Qt::Key_Return);
    EXPECT_EQ(w.path(0), dir.filePath("SUB"));
    EXPECT_TRUE(w.keysIn(0));
    EXPECT_EQ(w.list(0)->currentRow(), 0);
    w.press(Qt::Key_Down);
    EXPECT_EQ(w.list(0)->currentRow(), 1);
    // Backspace goes back up, the cursor on the directory it came from.
    w.press(Qt::Key_Backspace);
    EXPECT_EQ(w.path(0), dir.path());
    EXPECT_EQ(w.list(0)->currentRow(), RowNamed(w.model(0), "SUB"));

    // Insert marks the cursor's row and moves down; Space marks or unmarks the cursor's row.
    const int wave = RowNamed(w.model(0), "WAVE.DDB");
    ASSERT_GE(wave, 0);
    ASSERT_LT(wave + 1, w.model(0).rowCount());
    w.list(0)->table()->clearSelection();
    w.list(0)->setCurrentRow(wave);
    w.press(Qt::Key_Insert);
    EXPECT_EQ(w.list(0)->selectedRows(), std::vector<int>{wave});
    EXPECT_EQ(w.list(0)->currentRow(), wave + 1);
    w.press(Qt::Key_Space);
    EXPECT_EQ(w.list(0)->selectedRows(), (std::vector<int>{wave, wave + 1}));
    w.press(Qt::Key_Space);
    EXPECT_EQ(w.list(0)->selectedRows(), std::vector<int>{wave});

    // Ctrl+R reads the directory again; the cursor stays on its entry.
    w.list(0)->setCurrentRow(RowNamed(w.model(0), "notes.txt"));
    ASSERT_TRUE(MakeFile(dir.filePath("0NEW.TXT")));
    w.press(Qt::Key_R, Qt::ControlModifier);
    EXPECT_GE(RowNamed(w.model(0), "0NEW.TXT"), 0);
    EXPECT_EQ(w.list(0)->currentRow(), RowNamed(w.model(0), "notes.txt"));

    // End and Home: the last and the first row.
    w.press(Qt::Key_End);
    EXPECT_EQ(w.list(0)->currentRow(), w.model(0).rowCount() - 1);
    w.press(Qt::Key_Home);
    EXPECT_EQ(w.list(0)->currentRow(), 0);
    // Ctrl+A marks the files, never "..", so that F5 copies them all.
    w.press(Qt::Key_A, Qt::ControlModifier);
    std::vector<int> files = w.model(0).FileRows();
    EXPECT_EQ(w.list(0)->selectedRows(), files);
    int copyMany = 0;
    WhenModal<CDlgCopyMany>([&copyMany](CDlgCopyMany* dialog) {
        ++copyMany;
        dialog->reject();
    });
    w.press(Qt::Key_F5);
    EXPECT_EQ(copyMany, 1);
    EXPECT_TRUE(w.keysIn(0));

    // A click on a heading sorts by its column, in the context menu's orders.
    QHeaderView* header = w.list(0)->table()->horizontalHeader();
    const struct {
        int column;
        int32_t mode;
    } headings[] = {{2, kSortBySize}, {3, kSortByDate}, {0, kSortByName}, {1, kSortByType}};
    for (const auto& h : headings) {
        SCOPED_TRACE(h.column);
        const QPoint inside(header->sectionViewportPosition(h.column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, inside);
        EXPECT_EQ(w.frame->files().panelState(0).sortMode, h.mode);
    }
    EXPECT_EQ(w.frame->files().panelState(1).sortMode, kSortByType);

    // F7: the typed name reaches the dialog's field; the keys come back to the list.
    w.makeDirectory("NEWDIR");
    EXPECT_TRUE(QDir(dir.filePath("NEWDIR")).exists());
    EXPECT_TRUE(w.keysIn(0));

    // F5 on one file: the copy dialog opens with the keys in its target name.
    w.selectOnly("WAVE.DDB");
    QString focusedField;
    WhenModal<CDlgCopy>([&focusedField](CDlgCopy* dialog) {
        if (QWidget* focus = QApplication::focusWidget())
            focusedField = focus->objectName();
        dialog->reject();
    });
    w.press(Qt::Key_F5);
    EXPECT_EQ(focusedField, QStringLiteral("targetName"));
    EXPECT_TRUE(w.keysIn(0));

    // The other panel's ".." button: the keys follow into that panel's list, now the active one.
    w.frame->panelHeader(1)->upButton()->click();
    QApplication::processEvents();
    EXPECT_TRUE(w.keysIn(1));
    EXPECT_EQ(w.frame->activePanel(), 1);
    for (const QString& text : w.prompts.texts())
        EXPECT_EQ(text, QStringLiteral("Нет доступных COM - портов!")) << "an unexpected message";
}

TEST_F(KeyboardPanels, InstrumentPanel) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkdir("SITE1"));
    for (const char* name : {"PILE12.DDB", "SITE1/P01.DDB", "SITE1/P02.DDB"})
        ASSERT_TRUE(MakeFile(root.filePath(name)));
    DeviceProcess device(root.path().toStdString(), {"--verbose"});
    WriteLoopbackLink(device.port);
    KeyWindow w;
    CControlForm* header = w.frame->panelHeader(0);
    header->chooseDrive(header->driveList()->findText(QStringLiteral("z:\\")));
    ASSERT_TRUE(w.frame->files().panelState(0).onDevice);
    EXPECT_TRUE(w.keysIn(0)) << "the keys stay with the drive list";

    // Enter into an instrument directory: the keys stay in the list, on its first entry.
    w.list(0)->setCurrentRow(RowNamed(w.model(0), "SITE1"));
    w.press(Qt::Key_Return);
    EXPECT_EQ(w.path(0), QStringLiteral("z:\\SITE1"));
    EXPECT_TRUE(w.keysIn(0));
    EXPECT_EQ(w.list(0)->currentRow(), 0);
    w.press(Qt::Key_Down);
    EXPECT_EQ(w.list(0)->currentRow(), 1);
    w.press(Qt::Key_Backspace);
    EXPECT_EQ(w.path(0), QStringLiteral("z:\\"));
    EXPECT_EQ(w.list(0)->currentRow(), RowNamed(w.model(0), "SITE1"));

    // F7 with a name the instrument cannot hold: refused, and the next Up stays on the instrument.
    w.makeDirectory(QStringLiteral("Тест"));
    EXPECT_EQ(w.prompts.texts().back(), QStringLiteral("Ошибка в имени каталога!"));
    EXPECT_TRUE(w.keysIn(0));
    w.press(Qt::Key_Up);
    EXPECT_TRUE(w.frame->files().panelState(0).onDevice);
    EXPECT_EQ(w.path(0), QStringLiteral("z:\\"));
    // A good name is made (and shows that the instrument's log sees the command).
    w.makeDirectory("GOOD");
    EXPECT_TRUE(QDir(root.filePath("GOOD")).exists());
    EXPECT_TRUE(w.keysIn(0));

    // F8 on a file, cancelled: the keys are back in the instrument's list.
    w.selectOnly("PILE12.DDB");
    bool deleteSeen = false;
    WhenModal<CDlgDelete>([&deleteSeen](CDlgDelete* dialog) {
        deleteSeen = true;
        dialog->reject();
    });
    w.press(Qt::Key_F8);
    EXPECT_TRUE(deleteSeen);
    EXPECT_TRUE(w.keysIn(0));
    w.press(Qt::Key_Up);
    EXPECT_TRUE(w.frame->files().panelState(0).onDevice);

    // One make-directory command reached the instrument: "GOOD"'s, none for "Тест".
    device.Stop();
    const std::string& log = device.output();
    size_t makes = 0;
    for (size_t at = log.find("code 70 "); at != std::string::npos; at = log.find("code 70 ", at + 1))
        ++makes;
    EXPECT_EQ(makes, 1u) << log;
}

} // namespace
