#include "transport/message.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace velnet;

namespace {

uint32_t HeaderOf(std::initializer_list<uint8_t> bytes) {
    uint8_t b[4] = {};
    std::copy(bytes.begin(), bytes.end(), b);
    uint32_t h;
    std::memcpy(&h, b, 4);
    return h;
}

TEST(MessageHeader, ReadFunctions) {
    struct Case {
        const char* what;
        uint32_t header;
        uint32_t id, realLength, udpLength, recordLength;
    };
    const Case cases[] = {
        {"answer 06 2A 02 00", HeaderOf({0x06, 0x2A, 0x02, 0x00}), 0x2A, 4, 8, 16},
        {"length 0", HeaderOf({0x00, 0x07, 0x00, 0x00}), 0x07, 0, 4, 12},
        {"length 0xFFFF", HeaderOf({0x00, 0x00, 0xFF, 0xFF}), 0, 131070, 131074, 131082},
        {"full message 04 10 07 00", HeaderOf({0x04, 0x10, 0x07, 0x00}), 0x10, 14, 18, 26},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ExtractMessageID(c.header), c.id);
        EXPECT_EQ(RealDataLength(c.header), c.realLength);
        EXPECT_EQ(UDPBufLength(c.header), c.udpLength);
        EXPECT_EQ(ClientServerBufLength(c.header), c.recordLength);
    }
}

TEST(MessageHeader, IdentifiersWrapAndTouchOnlyTheirByte) {
    uint32_t header = HeaderOf({0x05, 0xFF, 0x34, 0x12});
    EXPECT_EQ(IncMessageID(&header), 0u);
    EXPECT_EQ(header, HeaderOf({0x05, 0x00, 0x34, 0x12}));

    EXPECT_EQ(BuildMessageID(&header, 0x1AB), 0xABu);
    EXPECT_EQ(header, HeaderOf({0x05, 0xAB, 0x34, 0x12}));

    for (auto [before, after] : {std::pair{255u, 0u}, {0x1FFu, 0u}, {0u, 1u}, {41u, 42u}}) {
        uint32_t id = before;
        IncMessageIDDWORD(&id);
        EXPECT_EQ(id, after) << "from " << before;
    }
}

TEST(MessageHeader, DataLengthDropsAnOddByte) {
    uint32_t header = HeaderOf({0x04, 0x33, 0x00, 0x00});
    BuildDataLength(&header, 5);
    EXPECT_EQ(HeaderWords(header), 2u);
    EXPECT_EQ(RealDataLength(header), 4u);
    EXPECT_EQ(header & 0xFFFF, 0x3304u) << "flags and id untouched";

    BuildDataLength(&header, 1056);
    EXPECT_EQ(UDPBufLength(header), kMaxWireMessage);
    EXPECT_EQ(ClientServerBufLength(header), kMaxRecord);
}

TEST(MessageHeader, BuiltHeadersMatchTheWireExamples) {
    // Code 75, answer wanted 1, 12 payload bytes, id 0x10: 04 10 07 00 4B 00 + payload.
    uint32_t message = MakeHeader(mfFullAnswer, 0, 0);
    BuildMessageID(&message, 0x10);
    BuildDataLength(&message, 2 + 12);
    EXPECT_EQ(message, HeaderOf({0x04, 0x10, 0x07, 0x00}));
    EXPECT_EQ(UDPBufLength(message), 18u);

    // Its full answer of 10 bytes: 06 10 05 00.
    uint32_t answer = MakeHeader(mfAnswer | mfFullAnswer, 0x10, 0);
    BuildDataLength(&answer, 10);
    EXPECT_EQ(answer, HeaderOf({0x06, 0x10, 0x05, 0x00}));

    // Code 76, answer wanted 0, 4 payload bytes, id 0x11: 00 11 03 00; its empty answer 02 11 00 00.
    uint32_t plain = MakeHeader(0, 0x11, 0);
    BuildDataLength(&plain, 2 + 4);
    EXPECT_EQ(plain, HeaderOf({0x00, 0x11, 0x03, 0x00}));
    EXPECT_EQ(UDPBufLength(plain), 10u);
    EXPECT_EQ(MakeHeader(uint8_t((HeaderFlags(plain) | mfAnswer) & ~mfRepeat), 0x11, 0),
              HeaderOf({0x02, 0x11, 0x00, 0x00}));
}

} // namespace
