#pragma once
// One row of a listing, of the instrument's disk or of a computer directory.

#include "app/remotedisk/device_name.h"

#include <QDateTime>
#include <QString>

#include <cstdint>

namespace zarno {

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

// A FAT date and time as a plain calendar value; invalid when they do not make one.
QDateTime FatDateTime(uint16_t date, uint16_t time);

// Whether an entry's type text is this extension ("ddb", "sgy"), in any case.
inline bool HasType(const CFileEntry& entry, const char* type) {
    return entry.typeText.compare(QLatin1String(type), Qt::CaseInsensitive) == 0;
}

} // namespace zarno
