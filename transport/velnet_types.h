#pragma once
// The records and numbers of libvelnet.so's interface (transport/velnet.h): the record handed to a
// callback, the port convention, and the serial settings block. The library's own code builds on
// these types too, so the hosts and the library can never disagree on a layout.

#include <cstddef>
#include <cstdint>

extern "C" {

// The record the library hands to a callback: the peer, the message's 4-byte header as one
// little-endian value (flags in the low byte, the identifier above, the data length in 16-bit words
// in the high half), then the message's data. Only `size` bytes of it exist.
struct VelnetRecordHead {
    uint32_t addr;   // IPv4 address, network byte order; 0 on a serial line
    uint32_t port;   // peer port in the port convention below, or the peer's line address
    uint32_t header;
};
static_assert(sizeof(VelnetRecordHead) == 12); // no padding: the layout is the record's own

// Where a record's data begins, and the header's fields.
enum : uint32_t { kVelnetRecordDataOffset = sizeof(VelnetRecordHead) };
inline uint32_t VelnetHeaderFlags(uint32_t header) {
    return header & 0xFFu;
}
inline uint32_t VelnetHeaderDataBytes(uint32_t header) {
    return (header >> 16) * 2u;
}
// A delivery report whose message was not delivered has both of these flag bits set.
enum : uint32_t { kVelnetDeliveryFailed = 0x03 };

// Port numbers travel in the socket address's 16-bit port field exactly as the low two bytes of a
// port value lie in memory, low byte first: every port value of this interface is the wire's port
// with its two bytes swapped (configured 6767 is wire port 28442, 6768 is 28698).
inline uint16_t VelnetWirePort(uint32_t portValue) {
    return static_cast<uint16_t>(((portValue & 0xFFu) << 8) | ((portValue >> 8) & 0xFFu));
}
inline uint32_t VelnetPortValue(uint16_t wirePort) {
    return ((wirePort & 0xFFu) << 8) | (wirePort >> 8);
}

// The settings block a serial transport is created with (32 bytes): four characters of port name
// ("COM1", not terminated) and a device control block in the Windows DCB layout, so that a block
// built or stored elsewhere means the same here. The one-bit and two-bit fields of Flags are bits
// of the word, not bit-fields, whose layout the compiler would choose.
struct VelnetDcb {
    uint32_t DCBlength; // 28
    uint32_t BaudRate;
    uint32_t Flags;
    uint16_t wReserved;
    uint16_t XonLim;
    uint16_t XoffLim;
    uint8_t ByteSize;
    uint8_t Parity;   // 0 none, 1 odd, 2 even, 3 mark, 4 space
    uint8_t StopBits; // 0 one, 1 one and a half, 2 two
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    uint16_t wReserved1;
};
struct VelnetComSettingsBlock {
    char portName[4];
    VelnetDcb dcb;
};
static_assert(sizeof(VelnetDcb) == 28 && offsetof(VelnetDcb, ByteSize) == 18 &&
              offsetof(VelnetDcb, XonChar) == 21 && offsetof(VelnetDcb, wReserved1) == 26);
static_assert(sizeof(VelnetComSettingsBlock) == 32 && offsetof(VelnetComSettingsBlock, dcb) == 4);

} // extern "C"
