// Arbitrary byte streams from a serial line through the frame reader: it must never read or write
// outside its buffer, and whatever it accepts must be a whole frame with a good checksum.

#include "transport/serial_frame.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velnet::SerialBufferSource source(data, size);
    // Exactly the largest frame's data and checksum, so that any overrun is caught.
    std::vector<uint8_t> buf(velnet::kSerialMaxData + velnet::kSerialChecksumBytes);
    while (!source.AtEnd()) {
        velnet::SerialFrameHead head;
        if (velnet::ReadSerialFrame(source, buf.data(), buf.size(), head) != velnet::SerialReadResult::Frame)
            continue;
        if (head.length > velnet::kSerialMaxData)
            std::abort();
        const uint16_t received = static_cast<uint16_t>(buf[head.length] | (buf[head.length + 1u] << 8));
        if (received != velnet::SerialChecksum(head, buf.data(), head.length))
            std::abort();
    }
    return 0;
}
