#pragma once
// One answer of a directory listing: a status word, then 32-byte FAT directory entries.

#include "app/remotedisk/file_entry.h"
#include "app/seams/progress.h"

#include <list>
#include <memory>

namespace zarno {

// Adds the answer's entries ("." left out) at the head of `listing`, counting them in *count and
// showing the running count on `counter`. Reads nothing beyond `length` bytes.
void AddListingEntries(const uint8_t* reply, uint32_t length, const QString& path,
                       std::list<std::unique_ptr<CFileEntry>>& listing, Progress* counter, int* count);

} // namespace zarno
