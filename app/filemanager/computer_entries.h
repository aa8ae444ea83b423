#pragma once
// Rows of a computer directory: the entry built for one directory entry, the listing of the process's
// current directory, and the file count a panel header shows.

#include "app/remotedisk/file_entry.h"

#include <QFileInfo>
#include <QString>

#include <memory>
#include <vector>

namespace zarno {

inline const QString kDirectoryTypeText = QStringLiteral("<Dir>");
inline const QString kParentName = QStringLiteral("..");
// The type text of a file whose name has no ".".
inline const QString kNoExtensionType = QStringLiteral("   ");

constexpr uint8_t kFileAttribute = 0x20;

// The entry of one computer directory entry: title = the name without its last extension (".." for
// the parent row), type text = what follows the last "." (three spaces when there is none) or
// "<Dir>", size 0 for directories, the last change in UTC, the 8.3 device name with attribute 0x10
// for directories and 0x20 for files. `name` is the entry's name as listed ("..", "a.bc.sgy"); `info`
// describes it. A file longer than 4 GB shows 0xFFFFFFFF: the entry holds 32 bits.
std::unique_ptr<CFileEntry> MakeComputerEntry(const QFileInfo& info, const QString& name);

// The process's current directory, every entry but "." (hidden ones too), in listing order. The
// parent row ".." is there except at "/", which has none. An unreadable directory gives no rows.
std::vector<std::unique_ptr<CFileEntry>> ListCurrentDirectory();

// Whether this row is the parent row "..".
bool IsParentRow(const CFileEntry& entry);

// The count a panel header shows: the rows, less the ".." row of a directory that is not a drive's
// root ("/" on the computer, "z:\" on the instrument). A directory whose listing lacks ".." (an
// unreadable one) never shows a negative count.
int ShownCount(const QString& panelPath, const std::vector<std::unique_ptr<CFileEntry>>& rows);

} // namespace zarno
