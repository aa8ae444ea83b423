#pragma once
// The drive table: the computer's mounted real file systems ("/" first), then the instrument's drive
// "z:\" last. Reading the system goes through DriveSource, so tests use fixture files.

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace zarno {

// Drive types as the drive list and the drive dialog use them.
enum DriveType : int32_t {
    kDriveUnknown = 0,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdRom = 5,
    kDriveDevice = 777, // the instrument's drive
};

// Icon index of a drive in the drive dialog.
enum DriveKind : int32_t { kKindRemovable = 0, kKindFixed = 1, kKindUnreadableCdRom = 2, kKindDevice = 4 };

// RefreshDriveInfo's index for all computer rows.
constexpr int kAllComputerDrives = 100;

inline const QString kUnknownVolume = QStringLiteral("<Unknown>");
inline const QString kDeviceFileSystem = QStringLiteral("FAT special");
constexpr uint32_t kDeviceSerialNumber = 777;
constexpr uint32_t kDeviceMaxNameLength = 8;
constexpr int kVolumeNameChars = 29; // asked of the system for a computer drive
constexpr int kFileSystemNameChars = 9;

struct DriveInfo {
    QString root; // mount point ("/", "/media/usb"), or "z:\" for the instrument
    int32_t driveType = kDriveUnknown;
    QString volumeName; // label; "<Unknown>" when the medium could not be read
    uint32_t serialNumber = 0;
    uint32_t maxNameLength = 0;
    uint32_t fileSystemFlags = 0;
    QString fileSystemName;
    int32_t kind = kKindFixed;
    uint32_t free = 0;  // units of 1000 bytes
    uint32_t total = 0; // units of 1000 bytes
    // Not shown: the mounted device ("/dev/sda1"), from which label and removability are found.
    QString source;
};

// One line of the mounts file.
struct MountEntry {
    QString device;
    QString mountPoint;
    QString fileSystem;
};

// What statvfs tells of a mounted file system.
struct VolumeStat {
    uint64_t totalBytes = 0;
    uint64_t freeBytes = 0; // available to an unprivileged user
    uint32_t maxNameLength = 0;
    uint32_t flags = 0;
    uint32_t serialNumber = 0; // the file system id, cut to 32 bits
};

// The system as the drive table reads it. The default (SystemDriveSource) reads the real files.
class DriveSource {
public:
    virtual ~DriveSource() = default;
    virtual std::vector<MountEntry> mounts() = 0;
    // Nothing when the file system cannot be read (no medium, no access).
    virtual std::optional<VolumeStat> stat(const QString& mountPoint) = 0;
    // The label of a device from the by-label links ("" when it has none).
    virtual QString label(const QString& device) = 0;
    // Whether the device (or the disk it is a partition of) is removable.
    virtual bool removable(const QString& device) = 0;
    // Whether the mount point is a directory (bind mounts of single files are not drives).
    virtual bool isDirectory(const QString& mountPoint) = 0;
};

// The real system, with the places it reads injectable for tests.
struct DriveSourcePaths {
    QString mounts = QStringLiteral("/proc/self/mounts");
    QString byLabel = QStringLiteral("/dev/disk/by-label");
    QString sysBlock = QStringLiteral("/sys/class/block");
};

class SystemDriveSource : public DriveSource {
public:
    explicit SystemDriveSource(DriveSourcePaths paths = {});
    std::vector<MountEntry> mounts() override;
    std::optional<VolumeStat> stat(const QString& mountPoint) override; // statvfs
    QString label(const QString& device) override;
    bool removable(const QString& device) override;
    bool isDirectory(const QString& mountPoint) override;

private:
    DriveSourcePaths m_paths;
};

// The lines of a mounts file (octal escapes such as "\040" decoded).
std::vector<MountEntry> ParseMounts(const QString& text);
// Whether a mounted file system is a real one (on a device or a network share), not a pseudo one.
bool IsRealFileSystem(const MountEntry& mount);
// Bytes in units of 1000, computed in 64 bits; saturates at the 32-bit maximum instead of wrapping.
uint32_t KiloUnits(uint64_t bytes);

// The whole table: "/" first (always, whatever is mounted there), then the other real file systems by
// mount point, then the device row last. Removable drives and CD-ROMs are not read here (no waiting
// for a medium at start-up); fixed and network drives are.
std::vector<DriveInfo> BuildDriveTable(DriveSource& source);
// The device row as it is before the instrument's disk information is read.
DriveInfo DeviceDriveRow();
// Reads the rows again: `index` one row, or kAllComputerDrives for every computer row; the device
// row is never touched. A medium that cannot be read gets "<Unknown>", an empty file-system name and
// zeros.
void RefreshDriveInfo(std::vector<DriveInfo>& table, int index, DriveSource& source);
// The drive list's item of "/": the table's first row.
constexpr int kFirstDriveItem = 0;
// The root of the drive that holds a computer path: the longest mount point of the table containing
// it ("/" at worst).
QString DriveRootOf(const std::vector<DriveInfo>& table, const QString& path);

} // namespace zarno
