#include "transport/serial_frame.h"

#include "tests/transport/serial_frame_fixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace velnet;

namespace {

using velnet::testing::Bytes;
using velnet::testing::Frame;
using velnet::testing::operator+;

struct Outcome {
    SerialReadResult result;
    SerialFrameHead head;
    Bytes data;
};

// Every result the reader gives for the stream, until the stream runs out.
std::vector<Outcome> ReadAll(const Bytes& stream) {
    SerialBufferSource source(stream.data(), stream.size());
    std::vector<Outcome> out;
    uint8_t buf[kSerialBufferBytes];
    while (!source.AtEnd()) {
        Outcome o{};
        o.result = ReadSerialFrame(source, buf, sizeof buf, o.head);
        if (o.result == SerialReadResult::Frame)
            o.data.assign(buf, buf + o.head.length);
        out.push_back(o);
    }
    return out;
}

TEST(SerialFrame, TheExampleFrameByteForByte) {
    const Bytes expected = {0xAA, 0xAB, 0x02, 0x00, 0xE8, 0xFD, 0x04,
                            0x00, 0x00, 0x2A, 0x00, 0x00, 0x10, 0xD8};
    EXPECT_EQ(Frame(2, 65000, {0x00, 0x2A, 0x00, 0x00}), expected);
    const SerialFrameHead head{2, 65000, 4};
    const uint8_t data[] = {0x00, 0x2A, 0x00, 0x00};
    EXPECT_EQ(SerialChecksum(head, data, 4), 0xD810);
}

TEST(SerialFrame, ChecksumFoldsCarriesAndSkipsAnOddLastByte) {
    struct Case {
        SerialFrameHead head;
        Bytes data;
        uint16_t checksum;
    };
    const Case cases[] = {
        {{0, 0, 0}, {}, 0xFFFF},
        // 0xFFFF + 0xFFFF + 2 = 0x20000: folds twice to 0x0002.
        {{0xFFFF, 0xFFFF, 2}, {0x00, 0x00}, 0xFFFD},
        {{1, 2, 3}, {0x10, 0x20, 0x30}, static_cast<uint16_t>(~(1 + 2 + 3 + 0x2010) & 0xFFFF)},
        // The odd last byte changes nothing.
        {{1, 2, 3}, {0x10, 0x20, 0xFF}, static_cast<uint16_t>(~(1 + 2 + 3 + 0x2010) & 0xFFFF)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.head.length);
        EXPECT_EQ(SerialChecksum(c.head, c.data.data(), c.data.size()), c.checksum);
    }
}

TEST(SerialFrame, ReaderKeepsOnlyWholeGoodFrames) {
    const Bytes good = Frame(2, 7, {1, 2, 3, 4});
    Bytes badSum = Frame(2, 7, {9, 9});
    badSum.back() ^= 0x01;
    const Bytes maxData(kSerialMaxData, 0x55);
    const Bytes tooLong(kSerialMaxData + 1, 0x55);
    using R = SerialReadResult;
    struct Case {
        const char* name;
        Bytes stream;
        std::vector<R> results;
    };
    const Case cases[] = {
        {"garbage before the sync", Bytes{0x01, 0xAB, 0xAA, 0x00, 0xFF} + good, {R::Frame}},
        {"lone AA", Bytes{0xAA, 0x00} + Bytes(good.begin() + 2, good.end()), {R::Recover}},
        {"AA AA AB is a sync", Bytes{0xAA} + good, {R::Frame}},
        {"wrong checksum, then a good frame", badSum + good, {R::BadChecksum, R::Frame}},
        {"532 data bytes", Frame(1, 2, maxData), {R::Frame}},
        {"533 data bytes", Frame(1, 2, tooLong) + good, {R::Recover, R::Frame}},
        {"cut in the head", Bytes(good.begin(), good.begin() + 5), {R::Recover}},
        {"cut in the data", Bytes(good.begin(), good.end() - 1), {R::Recover}},
        {"odd length", Frame(3, 4, {7, 8, 9}), {R::Frame}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto outcomes = ReadAll(c.stream);
        ASSERT_EQ(outcomes.size(), c.results.size());
        for (size_t i = 0; i < outcomes.size(); ++i)
            EXPECT_EQ(outcomes[i].result, c.results[i]) << i;
        if (outcomes.back().result == R::Frame) {
            const Outcome& last = outcomes.back();
            const Bytes expected = Bytes(c.stream.end() - 2 - last.head.length, c.stream.end() - 2);
            EXPECT_EQ(last.data, expected);
        }
    }
    const auto outcomes = ReadAll(good);
    EXPECT_EQ(outcomes[0].head.destination, 2);
    EXPECT_EQ(outcomes[0].head.source, 7);
    EXPECT_EQ(outcomes[0].head.length, 4);
}

TEST(SerialFrame, ReaderNeverWritesPastASmallBuffer) {
    const Bytes frame = Frame(1, 2, Bytes(100, 0x11));
    SerialBufferSource source(frame.data(), frame.size());
    uint8_t buf[64];
    SerialFrameHead head;
    EXPECT_EQ(ReadSerialFrame(source, buf, sizeof buf, head), SerialReadResult::Recover);
}

} // namespace
