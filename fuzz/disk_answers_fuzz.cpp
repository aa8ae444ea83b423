// The instrument's answers to the file commands as the client parses them, from arbitrary bytes:
// listings over several answers (each answer a length byte and that many bytes, at most the 520 of
// the answer buffer), and the open, create, read and write answers. Nothing may be read outside an
// answer, and a listing stays within what a directory can hold.

#include "app/remotedisk/disk_answers.h"
#include "app/remotedisk/listing_answer.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

void ParseEveryKind(const uint8_t* data, uint32_t length) {
    // A copy of exactly the answer's bytes, so that the sanitizer sees any read past its end.
    const std::vector<uint8_t> copy(data, data + length);
    const zarno::AnswerView answer{copy.data(), length};
    (void)zarno::ParseOpenAnswer(answer);
    (void)zarno::ParseCreateAnswer(answer);
    const zarno::WriteAnswer written = zarno::ParseWriteAnswer(answer);
    if (written.status != 2 && written.expectedBlock != zarno::kNoBlockNumber)
        std::abort();
    for (uint32_t wanted : {0u, 1u, 488u, 512u}) {
        const uint8_t* block = zarno::ReadAnswerData(answer, wanted);
        if (block && (block < copy.data() || block + wanted > copy.data() + copy.size()))
            std::abort();
        if (block && wanted) {
            volatile uint8_t last = block[wanted - 1];
            (void)last;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::list<std::unique_ptr<zarno::CFileEntry>> listing;
    zarno::ListingAnswers answers(QStringLiteral("z:\\REC"), listing, nullptr);
    zarno::ListingStep step = zarno::ListingStep::More;
    size_t at = 0;
    while (at < size) {
        const uint32_t length = std::min<uint32_t>(uint32_t(data[at]) * 4, uint32_t(size - at - 1));
        const uint8_t* answer = data + at + 1;
        ParseEveryKind(answer, length);
        if (step == zarno::ListingStep::More)
            step = answers.Take(std::vector<uint8_t>(answer, answer + length).data(), length);
        at += 1 + length;
    }
    if (answers.count() != int(listing.size()) || listing.size() > zarno::ListingAnswers::kMaxEntries)
        std::abort();
    return 0;
}
