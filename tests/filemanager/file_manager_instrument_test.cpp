// The file manager against the instrument simulator (zarno-device serve) over loopback UDP: opening
// the instrument's drive, walking its directories in two panels, a failed listing, the link commands
// and the checks of the commands on instrument panels.

#include "app/filemanager/file_manager.h"
#include "app/shell/persistent_settings.h"

#include "tests/filemanager/recording_views.h"
#include "tests/support/loopback_link.h"
#include "tests/support/device_process.h"
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

class InstrumentPanels : public ::testing::Test {
protected:
    void Start(const std::vector<std::string>& extra = {}) {
        EnsureCoreApp();
        HideComPorts();
        const QString r = root.path();
        QDir(r).mkpath("DATA");
        QDir(r).mkpath("A/B");
        for (const char* f : {"WAVE.DDB", "WAVE.SGY", "DATA/X.DDB", "A/B/F.TXT"}) {
            QFile file(r + "/" + f);
            file.open(QIODevice::WriteOnly);
            file.write(QByteArray(100, 'x'));
        }
        process = std::make_unique<DeviceProcess>(r.toStdString(), extra);
        PersistentSettings settings;
        AimAtLoopback(settings, process->port);
        auto drives = std::make_unique<FixedDriveSource>();
        drives->mountList = {{"/dev/vda1", "/", "ext4"}};
        drives->stats["/"] = {10'000'000, 5'000'000, 255, 0, 1};
        fm = std::make_unique<FileManager>(prompts, views, std::move(drives));
        fm->SetFileDialogs(&dialogs);
        fm->Create(settings);
        ASSERT_EQ(fm->device().Settings().remoteIP, 0x7F000001u);
        ASSERT_TRUE(fm->IsConnected());
        fm->InitialisePanel(0);
        fm->InitialisePanel(1);
        prompts.records.clear(); // the missing COM ports
    }
    int DeviceDrive() const { return int(fm->Drives().size()) - 1; }
    std::vector<QString> Names(int panel) {
        std::vector<QString> names;
        for (int r = 0; r < fm->rowCount(panel); ++r)
            names.push_back(fm->row(panel, r).fileName);
        std::sort(names.begin(), names.end());
        return names;
    }
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
    void ExpectUnlocked() {
        ASSERT_FALSE(views.locks.empty());
        EXPECT_FALSE(views.locks.back());
    }

    TempConfigHome home;
    QTemporaryDir root;
    std::unique_ptr<DeviceProcess> process;
    RecordingPrompts prompts;
    RecordingViews views;
    RecordingDialogs dialogs;
    std::unique_ptr<FileManager> fm;
};

TEST_F(InstrumentPanels, WalkingTheInstrumentInTwoPanels) {
    Start({"--label", "PILE DISK", "--disk-size", "5000000"});
    fm->OnDriveChosen(0, DeviceDrive());
    EXPECT_TRUE(fm->panel(0).onDevice);
    EXPECT_TRUE(fm->DiskOpened());
    EXPECT_EQ(fm->panel(0).path, "z:\\");
    EXPECT_EQ(Names(0), (std::vector<QString>{"A", "DATA", "WAVE.DDB", "WAVE.SGY"}));
    EXPECT_EQ(views.fileCount[0], 4);
    EXPECT_EQ(views.pathText[0], "z:\\");
    EXPECT_EQ(views.waitShown, 1);
    EXPECT_EQ(views.waitClosed, 1);
    EXPECT_EQ(views.locks, (std::vector<bool>{true, false}));

    const DriveInfo& row = fm->Drives().back();
    EXPECT_EQ(row.volumeName, "PILE");
    EXPECT_EQ(row.fileSystemName, "FAT special");
    EXPECT_EQ(row.maxNameLength, 8u);
    EXPECT_EQ(row.serialNumber, 777u);
    EXPECT_EQ(fm->DeviceTotal(), 5000u);
    EXPECT_EQ(row.total, 5'120'000u) << "the row holds the thousands times 1024";

    struct Step {
        const char* open; // a row to open, or "up" / "root" for the header's buttons
        const char* path;
        std::vector<QString> names;
        int count;
    } steps[] = {
        {"A", "z:\\A", {"..", "B"}, 1},           {"B", "z:\\A\\B", {"..", "F.TXT"}, 1},
        {"up", "z:\\A", {"..", "B"}, 1},          {"..", "z:\\", {"A", "DATA", "WAVE.DDB", "WAVE.SGY"}, 4},
        {"DATA", "z:\\DATA", {"..", "X.DDB"}, 1}, {"up", "z:\\", {"A", "DATA", "WAVE.DDB", "WAVE.SGY"}, 4},
        {"A", "z:\\A", {"..", "B"}, 1},           {"root", "z:\\", {"A", "DATA", "WAVE.DDB", "WAVE.SGY"}, 4},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.open);
        const std::string open = s.open;
        if (open == "up")
            fm->GoUp(0);
        else if (open == "root")
            fm->GoToRoot(0);
        else
            fm->OpenItem(0, Row(0, s.open));
        EXPECT_EQ(fm->panel(0).path, s.path);
        EXPECT_EQ(Names(0), s.names);
        EXPECT_EQ(views.fileCount[0], s.count);
        EXPECT_TRUE(fm->panel(0).onDevice);
    }
    fm->OpenItem(0, Row(0, "WAVE.SGY")); // an instrument file: nothing
    EXPECT_TRUE(views.viewerDocuments.empty());

    // The second panel enters without reading the disk information again.
    fm->OpenItem(0, Row(0, "A"));
    fm->OpenItem(0, Row(0, "B"));
    fm->OnDriveChosen(1, DeviceDrive());
    EXPECT_EQ(views.waitShown, 1);
    EXPECT_TRUE(fm->panel(1).onDevice);
    fm->OpenItem(1, Row(1, "DATA"));
    EXPECT_EQ(Names(1), (std::vector<QString>{"..", "X.DDB"}));
    // The instrument's one current directory is now the right panel's; the left one reads its own.
    ASSERT_EQ(fm->EnterDeviceDirectory(0, ""), 1);
    EXPECT_EQ(fm->panel(0).path, "z:\\A\\B");
    EXPECT_EQ(Names(0), (std::vector<QString>{"..", "F.TXT"}));
    fm->GoUp(1);
    EXPECT_EQ(fm->panel(1).path, "z:\\");
    EXPECT_EQ(Names(1), (std::vector<QString>{"A", "DATA", "WAVE.DDB", "WAVE.SGY"}));
    EXPECT_TRUE(prompts.texts().empty());
    ExpectUnlocked();

    // "Отключить транспорт": both instrument panels back on "/".
    fm->DisconnectTransport();
    EXPECT_FALSE(fm->IsConnected());
    EXPECT_FALSE(fm->DiskOpened());
    for (int p = 0; p < 2; ++p) {
        SCOPED_TRACE(p);
        EXPECT_FALSE(fm->panel(p).onDevice);
        EXPECT_EQ(fm->panel(p).path, "/");
        EXPECT_EQ(views.driveShown[size_t(p)], "/");
        EXPECT_EQ(views.driveItem[size_t(p)], fm->FirstDriveIndex());
        EXPECT_EQ(views.pathText[size_t(p)], "/");
    }
    // Choosing the drive again connects by the saved link and reads the disk information afresh.
    fm->OnDriveChosen(1, DeviceDrive());
    EXPECT_TRUE(fm->IsConnected());
    EXPECT_EQ(views.waitShown, 2);
    EXPECT_EQ(Names(1), (std::vector<QString>{"A", "DATA", "WAVE.DDB", "WAVE.SGY"}));
}

TEST_F(InstrumentPanels, AFailedListingAnsweredNoLandsOnTheFirstDrive) {
    Start({"--no-answer", "66:2"});
    prompts.yesNoAnswers = {false};
    fm->OnDriveChosen(0, DeviceDrive());
    EXPECT_FALSE(fm->panel(0).onDevice);
    EXPECT_EQ(fm->panel(0).path, "/");
    EXPECT_EQ(views.driveShown[0], "/");
    EXPECT_EQ(views.driveItem[0], fm->FirstDriveIndex());
    EXPECT_EQ(QDir::currentPath(), "/");
    ExpectUnlocked();
    const auto texts = prompts.texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2], "Ошибка при попытке получения списка файлов!");
    EXPECT_EQ(texts.back(), "Ошибка при установке каталога! Повторить?");
    EXPECT_TRUE(fm->device().Listing().empty());

    // The second listing fails too, a Yes repeats it, and the third one answers.
    prompts.records.clear();
    prompts.yesNoAnswers = {true};
    fm->OnDriveChosen(0, DeviceDrive());
    EXPECT_TRUE(fm->panel(0).onDevice);
    EXPECT_EQ(fm->panel(0).path, "z:\\");
    EXPECT_EQ(Names(0), (std::vector<QString>{"A", "DATA", "WAVE.DDB", "WAVE.SGY"}));
    EXPECT_EQ(prompts.texts().back(), "Ошибка при установке каталога! Повторить?");
    ExpectUnlocked();
}

// The instrument's directory of a panel vanished, and the other panel moved the instrument: the
// commands that act in the panel's directory open nothing.
TEST_F(InstrumentPanels, AVanishedDirectoryOpensNoCommand) {
    Start();
    fm->OnDriveChosen(0, DeviceDrive());
    fm->OpenItem(0, Row(0, "DATA"));
    ASSERT_EQ(fm->panel(0).path, "z:\\DATA");
    ASSERT_TRUE(QDir(root.filePath("DATA")).removeRecursively());
    fm->OnDriveChosen(1, DeviceDrive());
    prompts.records.clear();

    Select(0, {"X.DDB"});
    fm->DeleteSelection(0);
    fm->MakeDirectoryInPanel(0);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(prompts.texts(),
              (std::vector<QString>{"Каталог на удаленном диске не найден!", "Каталог на удаленном диске не найден!"}));
    ExpectUnlocked();
}

TEST_F(InstrumentPanels, DiskInformationResults) {
    struct Case {
        std::vector<std::string> args;
        int result;
    } cases[] = {
        {{"--fail", "65=1:1"}, -1}, {{"--fail", "65=5:1"}, 5}, {{"--no-answer", "65:1"}, 0}, {{}, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        Start(c.args);
        EXPECT_EQ(fm->ReadDeviceDiskInfo(), c.result);
        fm.reset();
        process.reset();
    }
    // A card near 4 GB: the row's total stops at the largest value instead of wrapping to a small one.
    Start({"--disk-size", "4294967295"});
    ASSERT_EQ(fm->ReadDeviceDiskInfo(), 1);
    EXPECT_EQ(fm->Drives().back().total, 4294967295u);
    fm.reset();
    process.reset();
    // A failing disk information leaves the panel on "/".
    Start({"--fail", "65=3:1"});
    fm->OnDriveChosen(0, DeviceDrive());
    EXPECT_FALSE(fm->panel(0).onDevice);
    EXPECT_EQ(fm->panel(0).path, "/");
    EXPECT_FALSE(fm->DiskOpened());
}

TEST_F(InstrumentPanels, CommandChecksOnInstrumentPanels) {
    Start({"--kind", "1"});
    fm->OnDriveChosen(0, DeviceDrive());
    fm->OnDriveChosen(1, DeviceDrive());
    ASSERT_TRUE(fm->panel(0).onDevice && fm->panel(1).onDevice);
    for (int p = 0; p < 2; ++p) {
        Select(p, {"WAVE.DDB"});
        fm->CopySelection(p);
        EXPECT_EQ(prompts.texts().back(), "Копирование с удаленного утройства на удаленное запрещено!") << p;
    }
    fm->ResetPanelToFirstDrive(1);
    prompts.records.clear();
    Select(0, {"WAVE.DDB"});
    fm->CopySelection(0);
    Select(0, {"WAVE.SGY"});
    fm->CopySelection(0);
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[0].proposed, "WAVE.sgy");
    EXPECT_EQ(dialogs.calls[1].proposed, "WAVE.SGY");

    fm->ConvertSelection(0);
    fm->MakeDirectoryInPanel(0);
    EXPECT_EQ(prompts.texts(), (std::vector<QString>{
                                   "Используйте функцию копирования при перенесении DDB файлов на компьютер!",
                                   "На удаленном устройстве данного типа каталоги создавать невозможно!"}));
    EXPECT_EQ(prompts.records.back().caption, "Warning!");
    EXPECT_EQ(dialogs.calls.size(), 2u);

    // Link commands: the same kind again does nothing; "Показать транспорт" while connected shows the
    // transport's window.
    int shown = 0;
    fm->SetTransportWindowShower([&] { ++shown; });
    EXPECT_EQ(fm->ChooseLink(kLinkNetwork), 1);
    EXPECT_TRUE(fm->panel(0).onDevice);
    fm->ShowTransportCommand();
    EXPECT_EQ(shown, 1);
    fm->DisconnectTransport();
    fm->ShowTransportCommand(); // connects over the network again, then shows it
    EXPECT_TRUE(fm->IsConnected());
    EXPECT_EQ(shown, 2);

    // Another link kind may reach another instrument: nothing of this one stays in the panels.
    fm->OnDriveChosen(0, DeviceDrive());
    ASSERT_TRUE(fm->panel(0).onDevice);
    fm->ChooseLink(kLinkCom1); // no such port here: the connection fails
    EXPECT_FALSE(fm->panel(0).onDevice);
    EXPECT_EQ(fm->panel(0).path, "/");
    EXPECT_FALSE(fm->DiskOpened());
    EXPECT_EQ(views.waitShownUnlocked, 0);
    ExpectUnlocked();
}

} // namespace
