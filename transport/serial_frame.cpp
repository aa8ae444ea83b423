#include "transport/serial_frame.h"

#include <cstring>

namespace velnet {

namespace {

uint16_t ReadLe16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

void WriteLe16(uint8_t* p, uint16_t value) {
    p[0] = static_cast<uint8_t>(value & 0xFF);
    p[1] = static_cast<uint8_t>(value >> 8);
}

// Reads single bytes until the last two read are the sync word.
bool HuntSync(SerialByteSource& source) {
    uint8_t previous = 0;
    for (;;) {
        uint8_t byte = 0;
        if (!source.ReadExact(&byte, 1))
            return false;
        if (previous == kSerialSync1 && byte == kSerialSync2)
            return true;
        previous = byte;
    }
}

} // namespace

void BuildSerialHead(const SerialFrameHead& head, uint8_t out[kSerialHeadBytes]) {
    out[0] = kSerialSync1;
    out[1] = kSerialSync2;
    WriteLe16(out + 2, head.destination);
    WriteLe16(out + 4, head.source);
    WriteLe16(out + 6, head.length);
}

uint16_t SerialChecksum(const SerialFrameHead& head, const uint8_t* data, size_t length) {
    // A frame carries at most 0xFFFF data bytes, so the plain sum never comes near 64 bits.
    uint64_t sum = uint64_t{head.destination} + head.source + head.length;
    for (size_t i = 0; i + 1 < length; i += 2)
        sum += ReadLe16(data + i);
    while (sum > 0xFFFF)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint16_t>(~sum & 0xFFFF);
}

bool SerialBufferSource::ReadExact(uint8_t* into, uint32_t count) {
    const size_t left = m_size - m_pos;
    if (count > left) {
        m_pos = m_size;
        return false;
    }
    if (count != 0)
        std::memcpy(into, m_data + m_pos, count);
    m_pos += count;
    return true;
}

SerialReadResult ReadSerialFrame(SerialByteSource& source, uint8_t* buf, size_t bufSize,
                                 SerialFrameHead& head) {
    if (!HuntSync(source))
        return SerialReadResult::Recover;
    uint8_t rest[kSerialHeadBytes - 2];
    if (!source.ReadExact(rest, sizeof rest))
        return SerialReadResult::Recover;
    head.destination = ReadLe16(rest);
    head.source = ReadLe16(rest + 2);
    head.length = ReadLe16(rest + 4);
    const uint32_t total = uint32_t{head.length} + kSerialChecksumBytes;
    if (head.length > kSerialMaxData || total > bufSize)
        return SerialReadResult::Recover;
    if (!source.ReadExact(buf, total))
        return SerialReadResult::Recover;
    const uint16_t received = ReadLe16(buf + head.length);
    if (received != SerialChecksum(head, buf, head.length))
        return SerialReadResult::BadChecksum;
    return SerialReadResult::Frame;
}

} // namespace velnet
