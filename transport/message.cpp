#include "transport/message.h"

namespace velnet {

// A header lives in memory as four bytes; the functions read and write it as one 32-bit value whose
// low byte is `flags`, so every change below touches only the bytes of its own field.

uint32_t ExtractMessageID(uint32_t header) {
    return (header >> 8) & 0xFF;
}

uint32_t BuildMessageID(uint32_t* header, uint32_t id) {
    *header = (*header & ~uint32_t{0xFF00}) | ((id & 0xFF) << 8);
    return id & 0xFF;
}

void IncMessageIDDWORD(uint32_t* id) {
    *id = (*id + 1) & 0xFF;
}

uint32_t IncMessageID(uint32_t* header) {
    const uint32_t next = (ExtractMessageID(*header) + 1) & 0xFF;
    return BuildMessageID(header, next);
}

uint32_t RealDataLength(uint32_t header) {
    return HeaderWords(header) * 2;
}

void BuildDataLength(uint32_t* header, uint32_t lengthBytes) {
    *header = (*header & 0xFFFF) | (((lengthBytes / 2) & 0xFFFF) << 16);
}

uint32_t UDPBufLength(uint32_t header) {
    return RealDataLength(header) + kHeaderSize;
}

uint32_t ClientServerBufLength(uint32_t header) {
    return UDPBufLength(header) + 8;
}

} // namespace velnet
