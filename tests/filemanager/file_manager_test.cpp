// The file manager on the computer's side: opening rows, the header's buttons, drive choices that
// end on "/", the checks of the commands on the selection, the toolbar and the settings it keeps.

#include "app/filemanager/file_manager.h"
#include "app/shell/persistent_settings.h"

#include "transport/port_convention.h"

#include "tests/filemanager/recording_views.h"
#include "tests/support/loopback_link.h"
#include "tests/support/free_port.h"
#include "tests/support/qt_app.h"
#include "tests/support/recording_prompts.h"
#include "tests/support/temp_config.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zarno;
using namespace zarno::testing;

namespace {

class FileManagerTest : public ::testing::Test {
protected:
    FileManagerTest() {
        EnsureCoreApp();
        HideComPorts();
        auto drives = std::make_unique<FixedDriveSource>();
        drives->mountList = {{"/dev/vda1", "/", "ext4"}, {"/dev/sdb1", "/media/usb", "vfat"}};
        drives->stats["/"] = {10'000'000, 5'000'000, 255, 0, 1};
        drives->removableDevices = {"/dev/sdb1"}; // an empty card reader: never readable
        source = drives.get();
        fm = std::make_unique<FileManager>(prompts, views, std::move(drives));
        fm->SetFileDialogs(&dialogs);
        // Never a connection to the built-in instrument address.
        AimAtLoopback(fm->device(), velnet::ValueFromWirePort(FreeWirePort()));
        fm->BuildDriveTable();

        for (const char* d : {"SUB", "OTHER"})
            QDir(work.path()).mkdir(d);
        for (const char* f : {"WAVE.DDB", "WAVE.SGY", "REC2.ddb", "notes.txt"}) {
            QFile file(work.filePath(f));
            file.open(QIODevice::WriteOnly);
            file.write("x");
        }
        fm->panel(0).path = work.path();
        fm->panel(1).path = work.filePath("OTHER");
        fm->InitialisePanel(0);
        fm->InitialisePanel(1);
    }
    // The row of this file name in a panel.
    int Row(int panel, const QString& name) {
        for (int r = 0; r < fm->rowCount(panel); ++r)
            if (fm->row(panel, r).fileName == name)
                return r;
        ADD_FAILURE() << name.toStdString();
        return -1;
    }
    void Select(int panel, std::initializer_list<const char*> names) {
        views.selected[size_t(panel)].clear();
        for (const char* n : names)
            views.selected[size_t(panel)].push_back(Row(panel, n));
    }
    QString Canonical(const QString& p) { return QFileInfo(p).canonicalFilePath(); }

    TempConfigHome home;
    QTemporaryDir work;
    RecordingPrompts prompts;
    RecordingViews views;
    RecordingDialogs dialogs;
    FixedDriveSource* source = nullptr;
    std::unique_ptr<FileManager> fm;
};

TEST_F(FileManagerTest, OpeningRowsAndTheHeaderButtons) {
    EXPECT_EQ(fm->panel(0).path, Canonical(work.path()));
    EXPECT_EQ(views.fileCount[0], 6) << "the '..' row is not counted";
    EXPECT_EQ(views.pathText[0], fm->panel(0).path);
    EXPECT_EQ(views.driveShown[0], "/");

    fm->OpenItem(0, Row(0, "SUB"));
    EXPECT_EQ(fm->panel(0).path, Canonical(work.filePath("SUB")));
    EXPECT_EQ(QDir::currentPath(), fm->panel(0).path);
    EXPECT_EQ(views.fileCount[0], 0);
    fm->OpenItem(0, Row(0, ".."));
    EXPECT_EQ(fm->panel(0).path, Canonical(work.path()));

    fm->OpenItem(0, Row(0, "WAVE.SGY"));
    EXPECT_EQ(fm->SgyFileToOpen(), Canonical(work.filePath("WAVE.SGY")));
    EXPECT_EQ(views.viewerDocuments, std::vector<QString>{fm->SgyFileToOpen()});
    EXPECT_EQ(views.toolbar, std::vector<bool>{false});
    EXPECT_TRUE(fm->ToolbarVisible()) << "the user's choice is kept for the viewer to restore";
    fm->OpenItem(0, Row(0, "notes.txt"));
    EXPECT_EQ(views.desktopOpens, std::vector<QString>{Canonical(work.filePath("notes.txt"))});
    fm->OpenItem(0, 99); // no row: nothing

    // ".." from the panel's own directory, even when the process's current one is the other panel's.
    fm->RefillComputerPanel(1);
    fm->GoUp(0);
    EXPECT_EQ(fm->panel(0).path, Canonical(work.path() + "/.."));
    fm->GoToRoot(0);
    EXPECT_EQ(fm->panel(0).path, "/");
    fm->GoUp(0);
    EXPECT_EQ(fm->panel(0).path, "/") << "up at the root stays at the root";
    EXPECT_EQ(views.fileCount[0], fm->rowCount(0));
    EXPECT_TRUE(prompts.texts().empty());
}

TEST_F(FileManagerTest, DriveChoicesThatEndOnTheFirstDrive) {
    const int usb = 1, device = 2;
    ASSERT_EQ(fm->Drives().size(), 3u);
    ASSERT_EQ(fm->Drives()[size_t(device)].root, "z:\\");

    fm->OnDriveChosen(0, usb); // no medium
    EXPECT_EQ(fm->Drives()[usb].volumeName, "<Unknown>");
    EXPECT_EQ(fm->panel(0).path, "/");
    EXPECT_EQ(views.driveItem[0], fm->FirstDriveIndex());
    EXPECT_EQ(views.driveShown[0], "/");
    EXPECT_EQ(views.pathText[0], "/");

    LinkSettings none = fm->device().Settings();
    none.linkType = kLinkNone;
    fm->device().SetSettings(none);
    fm->panel(1).path = work.path();
    fm->OnDriveChosen(1, device);
    EXPECT_EQ(prompts.texts(), std::vector<QString>{"Необходимо определить удаленное устройство"});
    EXPECT_EQ(fm->panel(1).path, "/");
    EXPECT_FALSE(fm->panel(1).onDevice);
    EXPECT_EQ(views.waitShown, 0);

    fm->OnDriveChosen(1, -1);
    EXPECT_EQ(prompts.texts().back(), "Ошибка при выборе накопителя!");

    prompts.records.clear();
    fm->ShowTransportCommand();
    EXPECT_EQ(prompts.texts(), std::vector<QString>{"Необходимо определить Внешнее Усторойство!"});
}

TEST_F(FileManagerTest, SelectionCommandChecks) {
    struct Case {
        const char* command;
        std::vector<const char*> rows;
        std::vector<QString> messages;
        std::vector<QString> dialogs; // what + ":" + entry or count + ":" + proposed name
    };
    const std::vector<Case> cases = {
        {"copy", {}, {}, {}},
        {"copy", {"WAVE.DDB"}, {}, {"copy:WAVE.DDB:WAVE.sgy"}},
        {"copy", {"WAVE.SGY"}, {}, {"copy:WAVE.SGY:WAVE.SGY"}},
        {"copy", {"SUB"}, {"Копирование каталогов запрещено!"}, {}},
        {"copy", {"WAVE.SGY", "SUB"}, {"Копирование каталогов запрещено!"}, {}},
        {"copy", {"WAVE.SGY", "notes.txt"}, {}, {"copyMany:2"}},
        {"delete", {}, {"Нет выбранных файлов!"}, {}},
        {"delete", {"SUB"}, {}, {"delete:SUB"}},
        {"delete", {"SUB", "OTHER"}, {"Стирание нескольких каталогов запрещено!"}, {}},
        {"delete", {"WAVE.SGY", "notes.txt", "WAVE.DDB"}, {}, {"deleteMany:3"}},
        {"mkdir", {}, {}, {"mkdir:0"}},
        {"convert", {}, {"Нет выбранных файлов!"}, {}},
        {"convert", {"WAVE.SGY", "notes.txt"}, {"Нет выбранных DDB файлов!"}, {}},
        {"convert", {"SUB", "WAVE.DDB"}, {"Копирование каталогов запрещено!"}, {}},
        {"convert", {"WAVE.DDB", "REC2.ddb", "notes.txt"}, {}, {"transform:2"}},
        {"sgy", {}, {"Нет выбранных файлов!"}, {}},
        {"sgy", {"WAVE.SGY", "notes.txt"}, {"Выберите только один файл!"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " of " + std::to_string(c.rows.size()));
        prompts.records.clear();
        dialogs.calls.clear();
        views.selected[0].clear();
        for (const char* n : c.rows)
            views.selected[0].push_back(Row(0, n));
        const std::string command = c.command;
        if (command == "copy")
            fm->CopySelection(0);
        else if (command == "delete")
            fm->DeleteSelection(0);
        else if (command == "mkdir")
            fm->MakeDirectoryInPanel(0);
        else if (command == "convert")
            fm->ConvertSelection(0);
        else
            fm->ShowSelectedSgy(0);
        EXPECT_EQ(prompts.texts(), c.messages);
        for (const auto& r : prompts.records)
            EXPECT_EQ(r.caption, "Zarno");
        std::vector<QString> opened;
        for (const DialogCall& d : dialogs.calls) {
            EXPECT_EQ(d.panel, 0);
            QString text = d.what + ":" + (d.entry.isEmpty() ? QString::number(d.count) : d.entry);
            if (d.what == "copy")
                text += ":" + d.proposed;
            opened.push_back(text);
        }
        EXPECT_EQ(opened, c.dialogs);
        if (command != "mkdir") { // the one command that needs no selection
            EXPECT_EQ(fm->panel(0).selection.size(), c.rows.size());
        }
    }
    // One selected SEG-Y file opens the viewer.
    Select(0, {"WAVE.SGY"});
    fm->ShowSelectedSgy(0);
    EXPECT_EQ(views.viewerDocuments.back(), Canonical(work.filePath("WAVE.SGY")));

    // After a conversion the computer target panel is listed again.
    QFile(work.filePath("OTHER/NEW.sgy")).open(QIODevice::WriteOnly);
    Select(0, {"WAVE.DDB"});
    fm->ConvertSelection(0);
    EXPECT_EQ(fm->rowCount(1), 2);
    EXPECT_EQ(QDir::currentPath(), fm->panel(1).path);
}

TEST_F(FileManagerTest, SortModeOfOnePanelOnly) {
    fm->panel(1).path = work.path();
    fm->RefillComputerPanel(1);
    fm->SetSortMode(0, kSortByName);
    EXPECT_EQ(fm->panel(0).sortMode, kSortByName);
    EXPECT_EQ(fm->panel(1).sortMode, kSortByType);
    EXPECT_EQ(fm->row(0, 3).fileName, "notes.txt") << "by name";
    EXPECT_EQ(fm->row(1, 3).fileName, "REC2.ddb") << "by type: ddb before SGY and txt";
}

TEST_F(FileManagerTest, ToolbarToggle) {
    fm->ToggleToolbar();
    fm->ToggleToolbar();
    EXPECT_EQ(views.toolbar, (std::vector<bool>{false, true}));
    EXPECT_TRUE(fm->ToolbarVisible());
}

TEST_F(FileManagerTest, SettingsRoundTrip) {
    PersistentSettings saved;
    saved.m_strCurrentDirectory = {work.filePath("SUB"), "Z:\\REC"};
    saved.m_nSortDirectory = {kSortBySize, kSortByDate};
    saved.m_nColumn[0] = {111, 0};
    saved.m_nColumn[3] = {0, 44};
    AimAtLoopback(saved, velnet::ValueFromWirePort(FreeWirePort()));
    {
        QSettings store("Mervo", "Zarno");
        saved.save(store);
    }
    PersistentSettings loaded;
    {
        QSettings store("Mervo", "Zarno");
        loaded.load(store);
    }
    RecordingViews freshViews;
    FileManager second(prompts, freshViews, std::make_unique<FixedDriveSource>());
    second.Create(loaded);
    ASSERT_EQ(second.device().Settings().remoteIP, 0x7F000001u);
    EXPECT_TRUE(second.IsConnected()) << "creation connects as saved";
    second.InitialisePanel(0);
    second.InitialisePanel(1);
    EXPECT_EQ(second.panel(0).path, Canonical(work.filePath("SUB")));
    EXPECT_EQ(second.panel(1).path, "/") << "an instrument path is no computer directory";
    EXPECT_EQ(second.panel(0).sortMode, kSortBySize);
    EXPECT_EQ(second.panel(1).columnWidths[3], 44);

    second.panel(1).columnWidths = {1, 2, 3, 4}; // as the list stores them when it closes
    PersistentSettings written = loaded;
    second.Destroy(written);
    EXPECT_FALSE(second.IsConnected());
    EXPECT_EQ(written.m_strCurrentDirectory[0], second.panel(0).path);
    EXPECT_EQ(written.m_strCurrentDirectory[1], "/");
    EXPECT_EQ(written.m_nSortDirectory, saved.m_nSortDirectory);
    EXPECT_EQ(written.m_nColumn[0][0], 111);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(written.m_nColumn[size_t(c)][1], c + 1);
    EXPECT_EQ(written.m_nCurrentLink, kLinkNetwork);
    EXPECT_EQ(written.m_nCurrentIPAddress, 0x7F000001u);
    EXPECT_EQ(written.m_nCurrentEthernetPort2, saved.m_nCurrentEthernetPort2);
}

} // namespace
