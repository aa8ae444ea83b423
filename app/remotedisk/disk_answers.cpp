#include "app/remotedisk/disk_answers.h"

#include "app/remotedisk/disk_protocol.h"
#include "app/remotedisk/wire_fields.h"

namespace zarno {

uint16_t AnswerView::Status() const {
    return length >= kStatusSize ? wire::GetU16({data, length}, 0) : kStatusMissing;
}

uint32_t AnswerView::U32At(uint32_t offset) const {
    return length >= 4 && offset <= length - 4 ? wire::GetU32({data, length}, offset) : 0;
}

OpenAnswer ParseOpenAnswer(AnswerView answer) {
    return {answer.Status(), answer.U32At(kAnswerHandleOffset), answer.U32At(kOpenLengthOffset)};
}

CreateAnswer ParseCreateAnswer(AnswerView answer) {
    return {answer.Status(), answer.U32At(kAnswerHandleOffset)};
}

const uint8_t* ReadAnswerData(AnswerView answer, uint32_t wanted) {
    const uint16_t status = answer.Status();
    if (status != kStatusOk && status != kStatusMore)
        return nullptr;
    // Fewer bytes than the block would fill the file with whatever the buffer held before.
    if (answer.length < kReadDataOffset || wanted > answer.length - kReadDataOffset)
        return nullptr;
    return answer.data + kReadDataOffset;
}

WriteAnswer ParseWriteAnswer(AnswerView answer) {
    const uint16_t status = answer.Status();
    if (status == kStatusWrongBlock && answer.length >= kExpectedBlockOffset + 4)
        return {status, answer.U32At(kExpectedBlockOffset)};
    return {status, kNoBlockNumber};
}

} // namespace zarno
