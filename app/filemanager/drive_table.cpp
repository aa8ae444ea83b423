#include "app/filemanager/drive_table.h"

#include "app/shell/persistent_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <sys/statvfs.h>

namespace zarno {

namespace {

// Network shares are real file systems though no device node stands behind them.
bool IsNetworkFileSystem(const QString& type) {
    static const QStringList kNetwork = {"nfs",   "nfs4", "cifs", "smb3",      "smbfs",
                                         "ncpfs", "afs",  "9p",   "fuse.sshfs"};
    return kNetwork.contains(type);
}

bool IsOpticalDevice(const MountEntry& mount) {
    const QString name = QFileInfo(mount.device).fileName();
    return name.startsWith(QLatin1String("sr")) || mount.fileSystem == QLatin1String("iso9660") ||
           mount.fileSystem == QLatin1String("udf");
}

// Mount files escape space, tab, newline and backslash as three octal digits.
QString DecodeMountField(const QString& field) {
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == QLatin1Char('\\') && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += QChar(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

// by-label names escape unusual bytes as "\xHH".
QString DecodeLabel(const QString& name) {
    QByteArray out;
    const QByteArray in = name.toUtf8();
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '\\' && i + 3 < in.size() && in[i + 1] == 'x') {
            bool ok = false;
            const int code = in.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out += char(code);
                i += 3;
                continue;
            }
        }
        out += in[i];
    }
    return QString::fromUtf8(out);
}

int32_t DriveTypeOf(const MountEntry& mount, DriveSource& source) {
    if (IsNetworkFileSystem(mount.fileSystem))
        return kDriveRemote;
    if (IsOpticalDevice(mount))
        return kDriveCdRom;
    if (source.removable(mount.device))
        return kDriveRemovable;
    return kDriveFixed;
}

void MarkUnreadable(DriveInfo& row) {
    row.volumeName = kUnknownVolume;
    row.fileSystemName.clear();
    row.serialNumber = 0;
    row.maxNameLength = 0;
    row.fileSystemFlags = 0;
    row.free = 0;
    row.total = 0;
}

// Volume information and sizes; false (and the row marked unreadable) when the medium cannot be read.
// A root that is no longer mounted (fileSystem empty) is unreadable too: its directory would report
// the figures of the file system beneath it.
bool ReadVolume(DriveInfo& row, const QString& fileSystem, DriveSource& source) {
    const std::optional<VolumeStat> stat = fileSystem.isEmpty() ? std::nullopt : source.stat(row.root);
    if (!stat) {
        MarkUnreadable(row);
        return false;
    }
    row.volumeName = source.label(row.source).left(kVolumeNameChars);
    row.fileSystemName = fileSystem.left(kFileSystemNameChars);
    row.serialNumber = stat->serialNumber;
    row.maxNameLength = stat->maxNameLength;
    row.fileSystemFlags = stat->flags;
    row.total = KiloUnits(stat->totalBytes);
    row.free = KiloUnits(stat->freeBytes);
    return true;
}

DriveInfo ComputerRow(const MountEntry& mount, DriveSource& source) {
    DriveInfo row;
    row.root = mount.mountPoint;
    row.source = mount.device;
    row.driveType = DriveTypeOf(mount, source);
    row.fileSystemName = mount.fileSystem.left(kFileSystemNameChars);
    return row;
}

} // namespace

SystemDriveSource::SystemDriveSource(DriveSourcePaths paths) : m_paths(std::move(paths)) {}

std::vector<MountEntry> SystemDriveSource::mounts() {
    QFile file(m_paths.mounts);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return ParseMounts(QString::fromUtf8(file.readAll()));
}

std::optional<VolumeStat> SystemDriveSource::stat(const QString& mountPoint) {
    struct statvfs s {};
    if (statvfs(QFile::encodeName(mountPoint).constData(), &s) != 0)
        return std::nullopt;
    VolumeStat v;
    const uint64_t unit = s.f_frsize ? s.f_frsize : s.f_bsize;
    v.totalBytes = uint64_t(s.f_blocks) * unit;
    v.freeBytes = uint64_t(s.f_bavail) * unit;
    v.maxNameLength = static_cast<uint32_t>(std::min<unsigned long>(s.f_namemax, 0xFFFFFFFFul));
    v.flags = static_cast<uint32_t>(s.f_flag & 0xFFFFFFFFul);
    v.serialNumber = static_cast<uint32_t>(s.f_fsid & 0xFFFFFFFFul);
    return v;
}

QString SystemDriveSource::label(const QString& device) {
    if (device.isEmpty())
        return {};
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty())
        return {};
    const QDir dir(m_paths.byLabel);
    for (const QFileInfo& link : dir.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot)) {
        if (QFileInfo(link.absoluteFilePath()).canonicalFilePath() == target)
            return DecodeLabel(link.fileName());
    }
    return {};
}

bool SystemDriveSource::removable(const QString& device) {
    const QString canonical = QFileInfo(device).canonicalFilePath();
    const QString name = QFileInfo(canonical.isEmpty() ? device : canonical).fileName();
    if (name.isEmpty())
        return false;
    const QString own = QFileInfo(m_paths.sysBlock + QLatin1Char('/') + name).canonicalFilePath();
    if (own.isEmpty())
        return false;
    // A partition's own folder has no "removable" file; the folder of its disk (the parent) has.
    for (const QString& candidate :
         {own + QStringLiteral("/removable"), QFileInfo(own).absolutePath() + QStringLiteral("/removable")}) {
        QFile file(candidate);
        if (file.open(QIODevice::ReadOnly))
            return file.readAll().trimmed() == "1";
    }
    return false;
}

bool SystemDriveSource::isDirectory(const QString& mountPoint) {
    return QFileInfo(mountPoint).isDir();
}

std::vector<MountEntry> ParseMounts(const QString& text) {
    std::vector<MountEntry> out;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() < 3)
            continue;
        out.push_back(
            {DecodeMountField(fields[0]), DecodeMountField(fields[1]), DecodeMountField(fields[2])});
    }
    return out;
}

bool IsRealFileSystem(const MountEntry& mount) {
    return mount.device.startsWith(QLatin1Char('/')) || IsNetworkFileSystem(mount.fileSystem);
}

uint32_t KiloUnits(uint64_t bytes) {
    const uint64_t units = bytes / 1000;
    return units > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                        : static_cast<uint32_t>(units);
}

std::vector<DriveInfo> BuildDriveTable(DriveSource& source) {
    // A mount point mounted over again shows the last mount, as the file system does.
    std::vector<MountEntry> chosen;
    MountEntry root{QString(), kFirstDrive, QString()};
    for (const MountEntry& mount : source.mounts()) {
        if (mount.mountPoint == kFirstDrive) {
            root = mount;
            continue;
        }
        if (!IsRealFileSystem(mount) || !source.isDirectory(mount.mountPoint))
            continue;
        const auto same = std::find_if(chosen.begin(), chosen.end(),
                                       [&](const MountEntry& m) { return m.mountPoint == mount.mountPoint; });
        if (same != chosen.end())
            *same = mount;
        else
            chosen.push_back(mount);
    }
    std::sort(chosen.begin(), chosen.end(),
              [](const MountEntry& a, const MountEntry& b) { return a.mountPoint < b.mountPoint; });

    std::vector<DriveInfo> table;
    table.push_back(ComputerRow(root, source));
    // "/" holds the program itself: a fixed drive whatever the system says of its device.
    if (table.front().driveType == kDriveRemovable || table.front().driveType == kDriveCdRom)
        table.front().driveType = kDriveFixed;
    for (const MountEntry& mount : chosen)
        table.push_back(ComputerRow(mount, source));
    for (size_t i = 0; i < table.size(); ++i) {
        DriveInfo& row = table[i];
        const QString fileSystem = i == 0 ? root.fileSystem : chosen[i - 1].fileSystem;
        switch (row.driveType) {
        case kDriveRemovable:
            row.kind = kKindRemovable;
            row.fileSystemName.clear();
            break;
        case kDriveCdRom:
            row.kind = kKindUnreadableCdRom;
            row.fileSystemName.clear();
            break;
        default:
            row.kind = kKindFixed;
            ReadVolume(row, fileSystem, source);
            break;
        }
    }
    table.push_back(DeviceDriveRow());
    return table;
}

DriveInfo DeviceDriveRow() {
    DriveInfo row;
    row.root = kDeviceDrive;
    row.driveType = kDriveDevice;
    row.kind = kKindDevice;
    return row;
}

void RefreshDriveInfo(std::vector<DriveInfo>& table, int index, DriveSource& source) {
    // The file system's name comes from the mounts as they are now.
    const std::vector<MountEntry> mounts = source.mounts();
    auto fileSystemOf = [&](const DriveInfo& row) {
        QString type;
        for (const MountEntry& m : mounts)
            if (m.mountPoint == row.root)
                type = m.fileSystem;
        return type;
    };
    for (size_t i = 0; i < table.size(); ++i) {
        DriveInfo& row = table[i];
        if (row.driveType == kDriveDevice || (index != kAllComputerDrives && int(i) != index))
            continue;
        switch (row.driveType) {
        case kDriveRemovable:
            row.kind = kKindRemovable;
            ReadVolume(row, fileSystemOf(row), source);
            break;
        case kDriveCdRom:
            row.kind = ReadVolume(row, fileSystemOf(row), source) ? kKindFixed : kKindUnreadableCdRom;
            break;
        default:
            row.kind = kKindFixed;
            ReadVolume(row, fileSystemOf(row), source);
            break;
        }
    }
}

QString DriveRootOf(const std::vector<DriveInfo>& table, const QString& path) {
    QString best = kFirstDrive;
    for (const DriveInfo& row : table) {
        if (row.driveType == kDriveDevice || row.root.size() <= best.size())
            continue;
        if (path == row.root || path.startsWith(row.root + QLatin1Char('/')))
            best = row.root;
    }
    return best;
}

} // namespace zarno
