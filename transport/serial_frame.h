#pragma once
// The serial line's framing: one transport message in one frame
//   AA AB | destination (16) | source (16) | N (16) | N data bytes | checksum (16), little-endian,
// and the reader that takes frames out of a byte stream. The reader works on any byte source, so
// that the port's receive thread and the fuzz target run the same code.

#include <cstddef>
#include <cstdint>

namespace velnet {

constexpr uint8_t kSerialSync1 = 0xAA;
constexpr uint8_t kSerialSync2 = 0xAB;
constexpr uint32_t kSerialHeadBytes = 8;
constexpr uint32_t kSerialChecksumBytes = 2;
// A receiver accepts at most this many data bytes in one frame.
constexpr uint32_t kSerialMaxData = 532;
// The receive buffer and the line's queues.
constexpr uint32_t kSerialBufferBytes = 1080;
// N is a 16-bit field: a longer message cannot be framed at all.
constexpr uint32_t kSerialMaxFramable = 0xFFFF;

struct SerialFrameHead {
    uint16_t destination = 0;
    uint16_t source = 0;
    uint16_t length = 0;
};

// The 8-byte head as it goes on the line.
void BuildSerialHead(const SerialFrameHead& head, uint8_t out[kSerialHeadBytes]);

// Ones'-complement sum of the three head words and the data as N div 2 little-endian words (an
// odd last byte is not added), folded to 16 bits and complemented. The sync bytes are not added.
uint16_t SerialChecksum(const SerialFrameHead& head, const uint8_t* data, size_t length);

// Where the reader takes its bytes from. ReadExact succeeds only when exactly count bytes arrived
// within the source's time limit for one read.
class SerialByteSource {
public:
    virtual ~SerialByteSource() = default;
    virtual bool ReadExact(uint8_t* into, uint32_t count) = 0;
};

// A source over bytes in memory (stored streams, tests, the fuzz target): a read past the end fails
// as a read that timed out on the line would.
class SerialBufferSource final : public SerialByteSource {
public:
    SerialBufferSource(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool ReadExact(uint8_t* into, uint32_t count) override;
    bool AtEnd() const { return m_pos >= m_size; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

enum class SerialReadResult {
    Frame,       // a whole frame with a good checksum: head filled, data in the buffer
    Recover,     // a read failed or N was too large: the line must be recovered
    BadChecksum, // dropped silently; the next frame is hunted without recovery
};

// Hunts for AA AB, reads the rest of the head, then N data bytes and the checksum into buf (at
// least kSerialMaxData + kSerialChecksumBytes bytes). On Frame, buf holds the N data bytes.
SerialReadResult ReadSerialFrame(SerialByteSource& source, uint8_t* buf, size_t bufSize,
                                 SerialFrameHead& head);

} // namespace velnet
