#include "app/remotedisk/listing_answer.h"

#include "app/remotedisk/disk_protocol.h"
#include "app/remotedisk/wire_fields.h"

#include <cstring>
#include <span>

namespace zarno {

namespace {
using namespace wire;

uint32_t EntryCount(uint32_t length) {
    return length < kStatusSize ? 0 : uint32_t((length - kStatusSize) / kDirEntrySize);
}

std::unique_ptr<CFileEntry> EntryFrom(std::span<const uint8_t, kDirEntrySize> e, const QString& path) {
    auto entry = std::make_unique<CFileEntry>();
    std::memcpy(entry->deviceName.data(), e.data(), kDeviceNameSize);
    entry->title = Field(e, 0, kEntryNameSize);
    const QString extension = Field(e, kEntryExtensionOffset, kEntryExtensionSize);
    // exactly: further attribute bits make a file
    entry->isDirectory = e[kEntryAttrOffset] == kDirectoryAttribute;
    entry->typeText = entry->isDirectory ? QStringLiteral("<Dir>") : extension;
    entry->size = GetU32(e, kEntrySizeOffset);
    entry->lastChange = FatDateTime(GetU16(e, kEntryDateOffset), GetU16(e, kEntryTimeOffset));
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
        const std::span<const uint8_t, kDirEntrySize> e(reply + kStatusSize + kDirEntrySize * i, kDirEntrySize);
        if (std::memcmp(e.data(), ".       ", kEntryNameSize) == 0)
            continue;
        listing.push_front(EntryFrom(e, path));
        ++*count;
        if (counter)
            counter->setValue(*count);
    }
}

ListingStep ListingAnswers::Take(const uint8_t* reply, uint32_t length) {
    if (length < kStatusSize)
        return ListingStep::Failed;
    const uint16_t status = GetU16({reply, length}, 0);
    if (status != kStatusOk && status != kStatusMore)
        return ListingStep::Failed;
    const uint32_t entries = EntryCount(length);
    if (entries > kMaxEntries - m_received)
        return ListingStep::TooMany;
    bool anyNew = false;
    for (uint32_t i = 0; i < entries; ++i) {
        Name name;
        std::memcpy(name.data(), reply + kStatusSize + kDirEntrySize * i, name.size());
        anyNew = m_names.insert(name).second || anyNew;
    }
    if (status == kStatusMore && !anyNew)
        return ListingStep::Repeated;
    m_received += entries;
    AddListingEntries(reply, length, m_path, m_listing, m_counter, &m_count);
    return status == kStatusMore ? ListingStep::More : ListingStep::Done;
}

} // namespace zarno
