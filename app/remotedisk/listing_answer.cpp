#include "app/remotedisk/listing_answer.h"

#include "app/remotedisk/disk_codes.h"
#include "app/remotedisk/wire_fields.h"

#include <cstring>

namespace zarno {

namespace {
using namespace wire;
constexpr uint32_t kEntrySize = 32;
constexpr uint16_t kStatusDone = 0;

uint32_t EntryCount(uint32_t length) {
    return length < 2 ? 0 : (length - 2) / kEntrySize;
}

std::unique_ptr<CFileEntry> EntryFrom(const uint8_t* e, const QString& path) {
    auto entry = std::make_unique<CFileEntry>();
    std::memcpy(entry->deviceName.data(), e, 12);
    entry->title = Field(e, 8);
    const QString extension = Field(e + 8, 3);
    entry->isDirectory = e[11] == kDirectoryAttribute; // exactly: further attribute bits make a file
    entry->typeText = entry->isDirectory ? QStringLiteral("<Dir>") : extension;
    entry->size = U32(e + 28);
    entry->lastChange = FatDateTime(U16(e + 24), U16(e + 22));
    entry->fileName =
        entry->isDirectory || extension.isEmpty() ? entry->title : entry->title + "." + extension;
    entry->fullPath = path.size() == 3 ? path + entry->fileName : path + "\\" + entry->fileName;
    return entry;
}
} // namespace

void AddListingEntries(const uint8_t* reply, uint32_t length, const QString& path,
                       std::list<std::unique_ptr<CFileEntry>>& listing, Progress* counter, int* count) {
    const uint32_t entries = EntryCount(length);
    for (uint32_t i = 0; i < entries; ++i) {
        const uint8_t* e = reply + 2 + kEntrySize * i;
        if (std::memcmp(e, ".       ", 8) == 0)
            continue;
        listing.push_front(EntryFrom(e, path));
        ++*count;
        if (counter)
            counter->setValue(*count);
    }
}

ListingStep ListingAnswers::Take(const uint8_t* reply, uint32_t length) {
    if (length < 2)
        return ListingStep::Failed;
    const uint16_t status = U16(reply);
    if (status != kStatusDone && status != kStatusMore)
        return ListingStep::Failed;
    const uint32_t entries = EntryCount(length);
    if (entries > kMaxEntries - m_received)
        return ListingStep::TooMany;
    bool anyNew = false;
    for (uint32_t i = 0; i < entries; ++i) {
        Name name;
        std::memcpy(name.data(), reply + 2 + kEntrySize * i, name.size());
        anyNew = m_names.insert(name).second || anyNew;
    }
    if (status == kStatusMore && !anyNew)
        return ListingStep::Repeated;
    m_received += entries;
    AddListingEntries(reply, length, m_path, m_listing, m_counter, &m_count);
    return status == kStatusMore ? ListingStep::More : ListingStep::Done;
}

} // namespace zarno
