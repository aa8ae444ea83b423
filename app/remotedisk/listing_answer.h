#pragma once
// The answers of a directory listing: a status word, then 32-byte FAT directory entries.

#include "app/remotedisk/file_entry.h"
#include "app/seams/progress.h"

#include <array>
#include <list>
#include <memory>
#include <set>

namespace zarno {

// Adds the answer's entries ("." left out) at the head of `listing`, counting them in *count and
// showing the running count on `counter`. Reads nothing beyond `length` bytes.
void AddListingEntries(const uint8_t* reply, uint32_t length, const QString& path,
                       std::list<std::unique_ptr<CFileEntry>>& listing, Progress* counter, int* count);

// What one answer means for the listing it belongs to.
enum class ListingStep {
    More,     // taken; the instrument has more to send
    Done,     // taken; the listing is complete
    Failed,   // the instrument said it cannot list (any status but 0 and 0xFFFF), or sent no status
    Repeated, // "more" again, but nothing the listing does not already hold: an instrument going round
    TooMany,  // more entries than a FAT directory can hold
};

// One listing's answers as they arrive. A FAT directory holds at most 65 536 entries and no name
// twice, so an instrument that keeps answering "more" is stopped by the one or the other, and the
// memory a listing takes stays bounded whatever the instrument sends.
class ListingAnswers {
public:
    static constexpr uint32_t kMaxEntries = 65536;

    ListingAnswers(const QString& path, std::list<std::unique_ptr<CFileEntry>>& listing, Progress* counter)
        : m_path(path), m_listing(listing), m_counter(counter) {}

    ListingStep Take(const uint8_t* reply, uint32_t length);
    int count() const { return m_count; }

private:
    using Name = std::array<uint8_t, 11>;

    QString m_path;
    std::list<std::unique_ptr<CFileEntry>>& m_listing;
    Progress* m_counter;
    int m_count = 0;
    uint32_t m_received = 0; // every entry, "." included
    std::set<Name> m_names;
};

} // namespace zarno
