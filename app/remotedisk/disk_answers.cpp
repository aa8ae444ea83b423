#include "app/remotedisk/disk_answers.h"

#include "app/remotedisk/disk_codes.h"
#include "app/remotedisk/wire_fields.h"

namespace zarno {

uint16_t AnswerView::Status() const {
    return length >= 2 ? wire::U16(data) : kStatusMissing;
}

uint32_t AnswerView::U32At(uint32_t offset) const {
    return length >= 4 && offset <= length - 4 ? wire::U32(data + offset) : 0;
}

OpenAnswer ParseOpenAnswer(AnswerView answer) {
    return {answer.Status(), answer.U32At(2), answer.U32At(6)};
}

CreateAnswer ParseCreateAnswer(AnswerView answer) {
    return {answer.Status(), answer.U32At(2)};
}

const uint8_t* ReadAnswerData(AnswerView answer, uint32_t wanted) {
    const uint16_t status = answer.Status();
    if (status != 0 && status != kStatusMore)
        return nullptr;
    // Fewer bytes than the block would fill the file with whatever the buffer held before.
    if (answer.length < 4 || wanted > answer.length - 4)
        return nullptr;
    return answer.data + 4;
}

WriteAnswer ParseWriteAnswer(AnswerView answer) {
    const uint16_t status = answer.Status();
    constexpr uint16_t kWrongBlock = 2;
    if (status == kWrongBlock && answer.length >= 6)
        return {status, answer.U32At(2)};
    return {status, kNoBlockNumber};
}

} // namespace zarno
