#include "app/filemanager/computer_entries.h"

#include "app/filemanager/panel_host.h"
#include "app/shell/persistent_settings.h"

#include <QDir>

#include <limits>

namespace zarno {

namespace {

void PlaceField(DeviceName& name, size_t offset, size_t width, const QString& text) {
    const QByteArray bytes = text.toLatin1();
    for (size_t i = 0; i < width; ++i)
        name[offset + i] = i < size_t(bytes.size()) ? static_cast<uint8_t>(bytes[qsizetype(i)]) : ' ';
}

uint32_t EntrySize(const QFileInfo& info) {
    if (info.isDir())
        return 0;
    const qint64 size = info.size();
    if (size <= 0)
        return 0;
    return size > qint64(std::numeric_limits<uint32_t>::max()) ? std::numeric_limits<uint32_t>::max()
                                                               : static_cast<uint32_t>(size);
}

bool IsRootPath(const QString& panelPath) {
    return panelPath == kFirstDrive || panelPath.compare(kDeviceDrive, Qt::CaseInsensitive) == 0;
}

} // namespace

std::unique_ptr<CFileEntry> MakeComputerEntry(const QFileInfo& info, const QString& name) {
    auto entry = std::make_unique<CFileEntry>();
    entry->isDirectory = info.isDir();
    entry->fileName = name;
    entry->fullPath = info.absoluteFilePath();
    // A dot at the start marks a hidden name, not an extension: ".config" is all name.
    const qsizetype found = name.lastIndexOf(QLatin1Char('.'));
    const qsizetype dot = found > 0 ? found : -1;
    if (name == kParentName)
        entry->title = kParentName;
    else
        entry->title = dot < 0 ? name : name.left(dot);
    if (entry->isDirectory)
        entry->typeText = kDirectoryTypeText;
    else
        entry->typeText = dot < 0 ? kNoExtensionType : name.mid(dot + 1);
    entry->size = EntrySize(info);
    // The file system keeps UTC; the panel shows that reading as it is.
    entry->lastChange = info.lastModified().toUTC();

    PlaceField(entry->deviceName, 0, 8, entry->title.left(8));
    PlaceField(entry->deviceName, 8, 3, entry->isDirectory ? QString() : entry->typeText.left(3));
    entry->deviceName[11] = entry->isDirectory ? kDirectoryAttribute : kFileAttribute;
    return entry;
}

std::vector<std::unique_ptr<CFileEntry>> ListCurrentDirectory() {
    const QDir current = QDir::current();
    const bool atRoot = current.isRoot();
    std::vector<std::unique_ptr<CFileEntry>> rows;
    const QFileInfoList infos =
        current.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDot, QDir::NoSort);
    for (const QFileInfo& info : infos) {
        const QString name = info.fileName();
        if (name == kParentName && atRoot)
            continue;
        rows.push_back(MakeComputerEntry(info, name));
    }
    return rows;
}

bool IsParentRow(const CFileEntry& entry) {
    return entry.isDirectory && entry.fileName == kParentName;
}

int ShownCount(const QString& panelPath, const std::vector<std::unique_ptr<CFileEntry>>& rows) {
    const int count = int(rows.size());
    if (IsRootPath(panelPath))
        return count;
    for (const auto& row : rows)
        if (IsParentRow(*row))
            return count - 1;
    return count;
}

} // namespace zarno
