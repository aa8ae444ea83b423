#pragma once
// Serial frames built for tests, as the library builds them.

#include "transport/serial_frame.h"

#include <cstdint>
#include <vector>

namespace velnet::testing {

using Bytes = std::vector<uint8_t>;

inline Bytes Frame(uint16_t destination, uint16_t source, const Bytes& data) {
    const SerialFrameHead head{destination, source, static_cast<uint16_t>(data.size())};
    Bytes frame(kSerialHeadBytes);
    BuildSerialHead(head, frame.data());
    frame.insert(frame.end(), data.begin(), data.end());
    const uint16_t sum = SerialChecksum(head, data.data(), data.size());
    frame.push_back(static_cast<uint8_t>(sum & 0xFF));
    frame.push_back(static_cast<uint8_t>(sum >> 8));
    return frame;
}

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace velnet::testing
