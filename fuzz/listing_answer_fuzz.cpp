// Arbitrary listing answers, as an instrument (or anything answering in its place) could send them.

#include "app/remotedisk/listing_answer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::list<std::unique_ptr<zarno::CFileEntry>> listing;
    int count = 0;
    const uint32_t length = static_cast<uint32_t>(std::min<size_t>(size, 520));
    zarno::AddListingEntries(data, length, size % 2 ? QStringLiteral("z:\\") : QStringLiteral("z:\\REC"),
                             listing, nullptr, &count);
    if (count != int(listing.size()))
        __builtin_trap();
    return 0;
}
