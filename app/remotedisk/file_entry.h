#pragma once
// One row of a listing, of the instrument's disk or of a computer directory.

#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>

namespace zarno {

// The instrument's 12-byte file name: 8 bytes of name and 3 of extension, space padded, and the
// attribute byte.
using DeviceName = std::array<uint8_t, 12>;

constexpr uint8_t kDirectoryAttribute = 0x10;
constexpr uint8_t kNewFileAttribute = 0x20;

struct CFileEntry {
    bool isDirectory = false;
    DeviceName deviceName{};
    uint32_t size = 0;
    QDateTime lastChange; // invalid when the instrument's date and time do not make one
    QString fullPath;
    QString fileName;
    QString title;
    QString typeText;
};

// The name forms sent to the instrument.
DeviceName DirectoryDeviceName(const QString& directory);
// From a typed "NAME.EXT" (or "NAME"), taken as typed; the checks on it belong to the caller.
DeviceName NewFileDeviceName(const QString& typed);

// A FAT date and time as a plain calendar value; invalid when they do not make one.
QDateTime FatDateTime(uint16_t date, uint16_t time);

// Whether an entry's type text is this extension ("ddb", "sgy"), in any case.
inline bool HasType(const CFileEntry& entry, const char* type) {
    return entry.typeText.compare(QLatin1String(type), Qt::CaseInsensitive) == 0;
}

} // namespace zarno
