// The drive table from a fixture system: a mounts file, by-label links and the block devices' folders
// read by the real source, with statvfs answered from a table.

#include "app/filemanager/drive_table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

using namespace zarno;

namespace {

class FixtureSource final : public SystemDriveSource {
public:
    using SystemDriveSource::SystemDriveSource;
    std::map<QString, VolumeStat> stats;
    std::map<QString, int> statCalls;
    std::optional<VolumeStat> stat(const QString& mountPoint) override {
        ++statCalls[mountPoint];
        const auto it = stats.find(mountPoint);
        return it == stats.end() ? std::nullopt : std::optional<VolumeStat>(it->second);
    }
    bool isDirectory(const QString& mountPoint) override { return !mountPoint.startsWith("/etc/"); }
};

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class DriveTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString dev = fs.filePath("dev");
        for (const char* d : {"sda1", "sda2", "sda3", "sdb1", "sr0"})
            WriteFile(dev + "/" + d, {});
        // Labels as udev escapes them; the links point at the device nodes.
        QDir().mkpath(fs.filePath("by-label"));
        ASSERT_TRUE(QFile::link(dev + "/sda2", fs.filePath("by-label/HOME\\x20DISK")));
        ASSERT_TRUE(QFile::link(dev + "/sdb1", fs.filePath("by-label/STICK")));
        // sdb1 is a partition of the removable disk sdb; sda is fixed.
        WriteFile(fs.filePath("sys/devices/sdb/removable"), "1\n");
        QDir().mkpath(fs.filePath("sys/devices/sdb/sdb1"));
        WriteFile(fs.filePath("sys/devices/sda/removable"), "0\n");
        QDir().mkpath(fs.filePath("sys/devices/sda/sda2"));
        QDir().mkpath(fs.filePath("sys/block"));
        ASSERT_TRUE(QFile::link(fs.filePath("sys/devices/sdb/sdb1"), fs.filePath("sys/block/sdb1")));
        ASSERT_TRUE(QFile::link(fs.filePath("sys/devices/sda/sda2"), fs.filePath("sys/block/sda2")));

        const QString d = dev + "/";
        WriteFile(fs.filePath("mounts"),
                  ("overlay / overlay rw,relatime 0 0\n"
                   "proc /proc proc rw 0 0\n"
                   "sysfs /sys sysfs rw 0 0\n"
                   "tmpfs /dev/shm tmpfs rw 0 0\n"
                   "devpts /dev/pts devpts rw 0 0\n" +
                   d + "sdb1 /media/usb\\040stick vfat rw 0 0\n" + d + "sda2 /home ext4 rw 0 0\n" + d +
                   "sr0 /media/cdrom iso9660 ro 0 0\n" + "server:/export /mnt/nfs nfs4 rw 0 0\n" + d +
                   "sda1 /etc/hosts ext4 rw 0 0\n" + d + "sda3 /data ext4 rw 0 0\n")
                      .toUtf8());
        source = std::make_unique<FixtureSource>(
            DriveSourcePaths{fs.filePath("mounts"), fs.filePath("by-label"), fs.filePath("sys/block")});
        source->stats["/"] = {5'000'000'999ull, 1'000'999ull, 255, 0, 0x1234};
        source->stats["/home"] = {2'000'000'000ull, 999ull, 255, 1, 42};
        source->stats["/mnt/nfs"] = {6'000'000'000ull, 4'500'000'000ull, 255, 0, 7};
        source->stats["/media/usb stick"] = {64'000'000ull, 32'000'000ull, 12, 0, 9};
    }
    QTemporaryDir fs;
    std::unique_ptr<FixtureSource> source;
};

TEST_F(DriveTableTest, RealFileSystemsRootFirstDeviceLast) {
    const std::vector<DriveInfo> table = BuildDriveTable(*source);
    struct Row {
        const char* root;
        int32_t type;
        int32_t kind;
        const char* volume;
        const char* fileSystem;
        uint32_t total, free;
    } expected[] = {
        {"/", kDriveFixed, kKindFixed, "", "overlay", 5'000'000, 1'000},
        {"/data", kDriveFixed, kKindFixed, "<Unknown>", "", 0, 0}, // statvfs fails
        {"/home", kDriveFixed, kKindFixed, "HOME DISK", "ext4", 2'000'000, 0},
        {"/media/cdrom", kDriveCdRom, kKindUnreadableCdRom, "", "", 0, 0},
        {"/media/usb stick", kDriveRemovable, kKindRemovable, "", "", 0, 0},
        {"/mnt/nfs", kDriveRemote, kKindFixed, "", "nfs4", 6'000'000, 4'500'000}, // more than 4 GB
        {"z:\\", kDriveDevice, kKindDevice, "", "", 0, 0},
    };
    ASSERT_EQ(table.size(), std::size(expected));
    for (size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(expected[i].root);
        EXPECT_EQ(table[i].root, expected[i].root);
        EXPECT_EQ(table[i].driveType, expected[i].type);
        EXPECT_EQ(table[i].kind, expected[i].kind);
        EXPECT_EQ(table[i].volumeName, expected[i].volume);
        EXPECT_EQ(table[i].fileSystemName, expected[i].fileSystem);
        EXPECT_EQ(table[i].total, expected[i].total);
        EXPECT_EQ(table[i].free, expected[i].free);
    }
    EXPECT_EQ(table[0].serialNumber, 0x1234u);
    EXPECT_EQ(table[0].maxNameLength, 255u);
    EXPECT_EQ(table[2].fileSystemFlags, 1u);
    // No medium is waited for at start-up.
    EXPECT_EQ(source->statCalls.count("/media/usb stick"), 0u);
    EXPECT_EQ(source->statCalls.count("/media/cdrom"), 0u);
}

TEST_F(DriveTableTest, RefreshReadsRemovableMediaAndMarksUnreadableOnes) {
    std::vector<DriveInfo> table = BuildDriveTable(*source);
    RefreshDriveInfo(table, kAllComputerDrives, *source);
    EXPECT_EQ(table[4].volumeName, "STICK");
    EXPECT_EQ(table[4].kind, kKindRemovable);
    EXPECT_EQ(table[4].total, 64'000u);
    EXPECT_EQ(table[4].fileSystemName, "vfat");
    EXPECT_EQ(table[3].volumeName, "<Unknown>");
    EXPECT_EQ(table[3].kind, kKindUnreadableCdRom);
    EXPECT_EQ(table.back().root, "z:\\");
    EXPECT_EQ(table.back().volumeName, "");

    // The medium leaves the stick; a disc comes into the drive. Only the chosen row is read again.
    source->stats.erase("/media/usb stick");
    source->stats["/media/cdrom"] = {700'000'000ull, 0, 255, 1, 3};
    RefreshDriveInfo(table, 3, *source);
    EXPECT_EQ(table[3].kind, kKindFixed);
    EXPECT_EQ(table[3].total, 700'000u);
    EXPECT_EQ(table[3].fileSystemName, "iso9660");
    EXPECT_EQ(table[4].volumeName, "STICK");
    RefreshDriveInfo(table, 4, *source);
    EXPECT_EQ(table[4].volumeName, "<Unknown>");
    EXPECT_EQ(table[4].total, 0u);
    EXPECT_EQ(table[4].fileSystemName, "");

    // The stick back, then unmounted: its mount point still answers (with the figures of the file
    // system beneath it), but it is no drive any more.
    source->stats["/media/usb stick"] = {64'000'000ull, 32'000'000ull, 12, 0, 9};
    RefreshDriveInfo(table, 4, *source);
    ASSERT_EQ(table[4].volumeName, "STICK");
    QFile mounts(fs.filePath("mounts"));
    ASSERT_TRUE(mounts.open(QIODevice::ReadOnly));
    const QByteArray without = mounts.readAll().replace("usb\\040stick", "elsewhere");
    mounts.close();
    WriteFile(fs.filePath("mounts"), without);
    RefreshDriveInfo(table, 4, *source);
    EXPECT_EQ(table[4].volumeName, "<Unknown>");
    EXPECT_EQ(table[4].total, 0u);
}

TEST(DriveTable, ThisMachine) {
    SystemDriveSource system;
    const std::vector<DriveInfo> table = BuildDriveTable(system);
    ASSERT_GE(table.size(), 2u);
    EXPECT_EQ(table.front().root, "/");
    EXPECT_EQ(table.front().kind, kKindFixed);
    EXPECT_GT(table.front().total, 0u);
    EXPECT_NE(table.front().volumeName, "<Unknown>");
    EXPECT_EQ(table.back().root, "z:\\");
    for (const DriveInfo& row : table) {
        SCOPED_TRACE(row.root.toStdString());
        EXPECT_FALSE(row.root == "/proc" || row.root == "/sys" || row.root == "/dev/pts");
    }
}

TEST(DriveTable, UnitsAndRoots) {
    EXPECT_EQ(KiloUnits(999), 0u);
    EXPECT_EQ(KiloUnits(5'000'000'000ull), 5'000'000u);
    EXPECT_EQ(KiloUnits(4'294'967'295'000ull), 4'294'967'295u);
    EXPECT_EQ(KiloUnits(9'000'000'000'000'000ull), 0xFFFFFFFFu) << "saturates, never wraps";

    std::vector<DriveInfo> table(3);
    table[0].root = "/";
    table[1].root = "/home";
    table[2] = DeviceDriveRow();
    EXPECT_EQ(DriveRootOf(table, "/home/user/x"), "/home");
    EXPECT_EQ(DriveRootOf(table, "/home"), "/home");
    EXPECT_EQ(DriveRootOf(table, "/homework"), "/");
    EXPECT_EQ(DriveRootOf(table, "/"), "/");

    const auto mounts = ParseMounts("a /x\\040y ext4 rw 0 0\nbad line\n");
    ASSERT_EQ(mounts.size(), 1u);
    EXPECT_EQ(mounts[0].mountPoint, "/x y");
}

} // namespace
