#pragma once
// The instrument's answers to the file commands as the client reads them. An answer is a claim of
// whatever sent it: a field beyond its end reads as zero, and a status word it does not hold reads as
// kStatusMissing, so nothing is ever taken from before the answer or past it.

#include <cstdint>

namespace zarno {

constexpr uint16_t kStatusMissing = 0xFFFE;
constexpr uint32_t kNoBlockNumber = 0xFFFFFFFF;

struct AnswerView {
    const uint8_t* data = nullptr;
    uint32_t length = 0;

    uint16_t Status() const;
    uint32_t U32At(uint32_t offset) const;
};

// Open (75): status, then the handle at offset 2 and the file's length at offset 6.
struct OpenAnswer {
    uint16_t status;
    uint32_t handle;
    uint32_t length;
};
OpenAnswer ParseOpenAnswer(AnswerView answer);

// Create (74): status, then the handle at offset 2.
struct CreateAnswer {
    uint16_t status;
    uint32_t handle;
};
CreateAnswer ParseCreateAnswer(AnswerView answer);

// Read block (72): the `wanted` data bytes from offset 4 when the status delivers a block (0 or
// 0xFFFF) and the answer holds them all; nullptr otherwise.
const uint8_t* ReadAnswerData(AnswerView answer, uint32_t wanted);

// Write block (73): status; for status 2 the block the instrument expects (offset 2), else
// kNoBlockNumber.
struct WriteAnswer {
    uint16_t status;
    uint32_t expectedBlock;
};
WriteAnswer ParseWriteAnswer(AnswerView answer);

} // namespace zarno
