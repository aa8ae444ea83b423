#pragma once
// The four orders of a file panel's rows (SortMode of panel_host.h) and their keys.

#include "app/filemanager/panel_host.h"
#include "app/remotedisk/file_entry.h"

#include <QString>

#include <memory>
#include <vector>

namespace zarno {

// Key of the "by type" order: directories "\x01   " + name ("\x01   " alone for ".."), files the
// type text, then 20 - 2 * its length spaces when that is positive, then the file name.
QString TypeSortKey(const CFileEntry& entry);
// Key of the "by name" order: directories "    " + name ("    " alone for ".."), files the name.
QString NameSortKey(const CFileEntry& entry);

// Negative, zero or positive as a sorts before, with or after b in this mode: the two key orders
// compare their keys case-insensitively, by size compares the sizes (smallest first), by date the
// last-change times (oldest first; an entry without a valid time counts as the oldest). An unknown
// mode orders by type.
int CompareEntries(const CFileEntry& a, const CFileEntry& b, int32_t sortMode);

// The order of a click on a column's heading: name, type, size or date (the panel's columns 0 to 3).
int32_t SortModeOfColumn(int column);

// Sorts rows ascending by CompareEntries; rows that compare equal keep their order.
void SortEntries(std::vector<std::unique_ptr<CFileEntry>>& rows, int32_t sortMode);

} // namespace zarno
