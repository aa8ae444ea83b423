#pragma once
// The transport message: a 4-byte header (flags, identifier, data length in 16-bit words) and up to
// 1056 bytes of data, and the record in which the library hands a message to its host.

#include "transport/velnet_types.h"

#include <cstddef>
#include <cstdint>

namespace velnet {

// Flag bits of the header's first byte.
enum : uint8_t {
    mfRepeat = 0x01,     // a repeated transmission of a message
    mfAnswer = 0x02,     // an answer to the message with the same id
    mfFullAnswer = 0x04, // the receiving application answers with data
    mfNoAnswer = 0x08,   // nobody answers
};

// A message whose delivery failed is handed up with both of these bits set.
constexpr uint8_t kDeliveryFailedMask = mfRepeat | mfAnswer;
static_assert(kDeliveryFailedMask == kVelnetDeliveryFailed);

constexpr uint32_t kMaxMessageData = 1056; // code (2) + payload (1054), also a full answer's data
constexpr uint32_t kMaxPayload = kMaxMessageData - 2;
constexpr uint32_t kHeaderSize = 4;
constexpr uint32_t kMaxWireMessage = kHeaderSize + kMaxMessageData; // 1060
constexpr uint32_t kRecordHeadSize = 12;                            // addr, port, header
constexpr uint32_t kMaxRecord = kRecordHeadSize + kMaxMessageData;  // 1068

// Answer-wanted values a host passes with a message.
enum AnswerWanted : uint32_t { awEmpty = 0, awFull = 1, awNone = 2 };

#pragma pack(push, 1)
struct TMessageHeader {
    uint8_t flags;
    uint8_t id;
    uint16_t length; // in 16-bit words
};

// The record handed to the host. The engine's records have room for a whole wire message after the
// head (1060 bytes), so that a received datagram's bytes can be kept as they came.
struct TTransportMessage {
    uint32_t addr; // IPv4 address, network byte order; 0 on a serial line
    uint32_t port; // peer port in the library's convention, or the peer's line address
    uint32_t header;
    uint8_t data[kMaxWireMessage];
};
#pragma pack(pop)
static_assert(sizeof(TMessageHeader) == 4);
static_assert(offsetof(TTransportMessage, data) == kRecordHeadSize);
// The hosts read the record through the public header's description of it.
static_assert(kRecordHeadSize == kVelnetRecordDataOffset && offsetof(TTransportMessage, addr) == offsetof(VelnetRecordHead, addr) &&
              offsetof(TTransportMessage, port) == offsetof(VelnetRecordHead, port) &&
              offsetof(TTransportMessage, header) == offsetof(VelnetRecordHead, header));

// Header fields of the 32-bit header value (little-endian byte order of the 4 header bytes).
inline uint8_t HeaderFlags(uint32_t header) {
    return static_cast<uint8_t>(header & 0xFF);
}
inline uint32_t HeaderWords(uint32_t header) {
    return header >> 16;
}
inline uint32_t MakeHeader(uint8_t flags, uint8_t id, uint16_t words) {
    return uint32_t{flags} | (uint32_t{id} << 8) | (uint32_t{words} << 16);
}

// The message code: the first data word of a message (0 when it has no data).
inline uint16_t MessageCode(const TTransportMessage& message) {
    if (HeaderWords(message.header) == 0)
        return 0;
    return static_cast<uint16_t>(message.data[0] | (message.data[1] << 8));
}

// The eight header functions (exported under these names by the library).
uint32_t ExtractMessageID(uint32_t header);
uint32_t BuildMessageID(uint32_t* header, uint32_t id);
void IncMessageIDDWORD(uint32_t* id);
uint32_t IncMessageID(uint32_t* header);
uint32_t RealDataLength(uint32_t header);
void BuildDataLength(uint32_t* header, uint32_t lengthBytes);
uint32_t UDPBufLength(uint32_t header);
uint32_t ClientServerBufLength(uint32_t header);

} // namespace velnet
