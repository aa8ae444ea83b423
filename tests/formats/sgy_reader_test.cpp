#include "app/formats/sgy_io.h"
#include "tests/support/sgy_fixture.h"
#include "tests/support/recording_prompts.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <cstring>

using namespace zarno;
using zarno::testing::FloatBits;
using zarno::testing::RecordingPrompts;
using zarno::testing::SgyFixture;

namespace {

// Reads the binary header of a file held in memory the way every reader does: textual header first.
int ReadBinary(QBuffer& file, SGYBinaryHeader& header, bool& little, RecordingPrompts& prompts) {
    file.seek(kSGYBinaryHeaderOffset);
    return ReadSGYBinaryHeader(file, header, little, prompts);
}

QByteArray FileWithFormatBytes(quint8 byte24, quint8 byte25) {
    SgyFixture fixture;
    fixture.traces = {{1, 2, 3}};
    QByteArray bytes = fixture.build();
    bytes[3200 + 24] = char(byte24);
    bytes[3200 + 25] = char(byte25);
    return bytes;
}

TEST(SgyReader, ByteOrderComesFromTheFormatCodePosition) {
    struct Case {
        quint8 byte24, byte25;
        bool little;
        quint16 code;
    };
    const Case cases[] = {
        {0, 2, false, 2},     {2, 0, true, 2},       {0, 5, false, 5},
        {5, 0, true, 5},      {5, 2, false, 0x0502}, // byte 25 holding 2 wins before anything else
        {2, 5, true, 0x0502},                        // byte 24 holding 2 wins before byte 25 holding 5
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.byte24) << "," << int(c.byte25));
        QByteArray bytes = FileWithFormatBytes(c.byte24, c.byte25);
        QBuffer file(&bytes);
        file.open(QIODevice::ReadOnly);
        bool little = !c.little;
        SGYBinaryHeader header;
        RecordingPrompts prompts;
        EXPECT_EQ(ReadBinary(file, header, little, prompts), 0);
        EXPECT_EQ(little, c.little);
        EXPECT_EQ(header.formatCode, c.code);
        EXPECT_TRUE(prompts.records.empty());
    }
}

TEST(SgyReader, UnknownFormatsAreRejectedAndChangeNothing) {
    const std::pair<quint8, quint8> cases[] = {{0, 1}, {1, 0}, {0, 3}, {3, 0}, {0, 0}, {0, 8}};
    for (const auto& [byte24, byte25] : cases) {
        SCOPED_TRACE(::testing::Message() << int(byte24) << "," << int(byte25));
        for (const bool flagBefore : {false, true}) {
            QByteArray bytes = FileWithFormatBytes(byte24, byte25);
            QBuffer file(&bytes);
            file.open(QIODevice::ReadOnly);
            SGYBinaryHeader header;
            header.tracesPerRecord = 77;
            header.samplesPerTrace = 99;
            bool little = flagBefore;
            RecordingPrompts prompts;
            EXPECT_EQ(ReadBinary(file, header, little, prompts), -1);
            EXPECT_EQ(header.tracesPerRecord, 77);
            EXPECT_EQ(header.samplesPerTrace, 99);
            EXPECT_EQ(little, flagBefore);
            ASSERT_EQ(prompts.records.size(), 1u);
            EXPECT_EQ(prompts.records[0].text, "Ошибка в формате SGY файла!");
            EXPECT_EQ(prompts.records[0].icon, PromptIcon::Stop);
        }
    }
}

// A little-endian file reads exactly as its big-endian twin, headers and samples, in both formats.
TEST(SgyReader, BothByteOrdersReadTheSameValues) {
    const std::vector<std::vector<quint32>> intTraces = {{1, quint32(-2), 0x7FFFFFFF},
                                                         {quint32(-2147483647 - 1), 5, 6}};
    const std::vector<std::vector<quint32>> floatTraces = {
        {FloatBits(1.5f), FloatBits(-0.25f), FloatBits(3e9f)},
        {FloatBits(0.f), FloatBits(-7.f), FloatBits(1e-3f)}};
    struct Case {
        quint16 format;
        std::vector<std::vector<double>> expected;
    };
    const Case cases[] = {
        {2, {{1, -2, 2147483647.0}, {-2147483648.0, 5, 6}}},
        {5, {{1.5, -0.25, double(3e9f)}, {0, -7, double(1e-3f)}}},
    };
    for (const Case& c : cases) {
        for (const bool little : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "format " << c.format << (little ? " little" : " big"));
            SgyFixture fixture;
            fixture.littleEndian = little;
            fixture.format = c.format;
            fixture.traces = c.format == 2 ? intTraces : floatTraces;
            QByteArray bytes = fixture.build();
            QBuffer file(&bytes);
            file.open(QIODevice::ReadOnly);
            SGYBinaryHeader binary;
            RecordingPrompts prompts;
            bool fileLittle = !little;
            ASSERT_EQ(ReadBinary(file, binary, fileLittle, prompts), 0);
            EXPECT_EQ(fileLittle, little);
            EXPECT_EQ(binary.tracesPerRecord, 2);
            EXPECT_EQ(binary.fieldSampleInterval, 125);
            EXPECT_EQ(binary.samplesPerTrace, 3);
            EXPECT_EQ(binary.formatCode, c.format);
            for (qint64 i = 0; i < 2; ++i) {
                SCOPED_TRACE(::testing::Message() << "trace " << i);
                SGYTraceHeader trace;
                ASSERT_TRUE(file.seek(SGYTraceOffset(binary, i)));
                EXPECT_EQ(ReadSGYTraceHeader(file, trace, fileLittle), 1);
                EXPECT_EQ(trace.sequenceInLine, i + 1);
                EXPECT_EQ(trace.sequenceInReel, i + 1);
                EXPECT_EQ(trace.traceInFieldRecord, i + 1);
                EXPECT_EQ(trace.sourceReceiverDistance, -5 - i);
                EXPECT_EQ(trace.elevationScalar, 65535);
                EXPECT_EQ(trace.coordinateUnits, 1);
                EXPECT_EQ(trace.sampleCount, 3);
                EXPECT_EQ(trace.gainConstant, 7 + i);
                std::vector<double> samples;
                EXPECT_EQ(ReadSGYTraceSamples(file, binary, fileLittle, i, samples), 3);
                EXPECT_EQ(samples, c.expected[std::size_t(i)]);
            }
        }
    }
}

// Two files open side by side: reading the second one's header must not change how the first one's
// trace headers and samples decode.
TEST(SgyReader, EachFileKeepsItsOwnByteOrder) {
    SgyFixture littleFixture;
    littleFixture.littleEndian = true;
    littleFixture.traces = {{1, 2, 3}};
    SgyFixture bigFixture;
    bigFixture.traces = {{4, 5, 6}};
    QByteArray littleBytes = littleFixture.build();
    QByteArray bigBytes = bigFixture.build();
    QBuffer littleFile(&littleBytes);
    QBuffer bigFile(&bigBytes);
    littleFile.open(QIODevice::ReadOnly);
    bigFile.open(QIODevice::ReadOnly);
    RecordingPrompts prompts;
    SGYBinaryHeader littleHeader, bigHeader;
    bool littleOrder = false, bigOrder = true;
    ASSERT_EQ(ReadBinary(littleFile, littleHeader, littleOrder, prompts), 0);
    ASSERT_EQ(ReadBinary(bigFile, bigHeader, bigOrder, prompts), 0);
    EXPECT_TRUE(littleOrder);
    EXPECT_FALSE(bigOrder);

    std::vector<double> samples;
    ReadSGYTraceSamples(littleFile, littleHeader, littleOrder, 0, samples);
    EXPECT_EQ(samples, (std::vector<double>{1, 2, 3}));
    SGYTraceHeader trace;
    littleFile.seek(SGYTraceOffset(littleHeader, 0));
    ASSERT_EQ(ReadSGYTraceHeader(littleFile, trace, littleOrder), 1);
    EXPECT_EQ(trace.sampleCount, 3);
    ReadSGYTraceSamples(bigFile, bigHeader, bigOrder, 0, samples);
    EXPECT_EQ(samples, (std::vector<double>{4, 5, 6}));
}

TEST(SgyReader, DecodedFormatsOtherThanTwoAndFiveGiveZeroSamples) {
    for (const quint16 format : {quint16(1), quint16(3), quint16(8), quint16(0x0502)}) {
        SCOPED_TRACE(format);
        const quint8 word[4] = {0x3F, 0xC0, 0x00, 0x00};
        EXPECT_EQ(DecodeSGYSample(word, format, false), 0.0);
    }
}

// The binary header keeps the bytes of fields it does not know; a trace header read past the end of
// a short file comes back as zeros and a marked result, not as the trace read before it.
TEST(SgyReader, ShortFilesGiveZerosNeverStaleValues) {
    SgyFixture fixture;
    fixture.traces = {{10, 20, 30}, {40, 50, 60}};
    QByteArray bytes = fixture.build();
    bytes.chop(240 + 12 - 100); // trace 2 keeps 100 bytes of its header and no samples
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    SGYBinaryHeader binary;
    std::memset(binary.unused58, 0xAA, sizeof binary.unused58);
    RecordingPrompts prompts;
    bool little = false;
    ASSERT_EQ(ReadBinary(file, binary, little, prompts), 0);
    EXPECT_EQ(binary.unused58[0], 0xAA);
    EXPECT_EQ(binary.unused58[241], 0xAA);

    SGYTraceHeader trace;
    file.seek(SGYTraceOffset(binary, 0));
    ASSERT_EQ(ReadSGYTraceHeader(file, trace, little), 1);
    ASSERT_EQ(trace.gainConstant, 7);

    file.seek(SGYTraceOffset(binary, 1));
    EXPECT_EQ(ReadSGYTraceHeader(file, trace, little), 0);
    EXPECT_EQ(trace.sequenceInLine, 2); // within the 100 bytes present
    EXPECT_EQ(trace.coordinateUnits, 1);
    EXPECT_EQ(trace.sampleCount, 0); // past the 100 bytes
    EXPECT_EQ(trace.gainConstant, 0);

    std::vector<double> samples = {1, 2, 3, 4};
    EXPECT_EQ(ReadSGYTraceSamples(file, binary, little, 1, samples), 0);
    EXPECT_EQ(samples, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(ReadSGYTraceSamples(file, binary, little, 5, samples), 0);
    EXPECT_EQ(samples, (std::vector<double>{0, 0, 0}));
}

TEST(SgyReader, TextualHeaderEndsAtNulOrAfter3200Characters) {
    QByteArray noNul(3200, 'A');
    noNul[3199] = 'Z';
    EXPECT_EQ(SGYTextualHeaderText(noNul).size(), 3200);
    EXPECT_TRUE(SGYTextualHeaderText(noNul + "extra").endsWith('Z'));

    QByteArray withNul(3200, ' ');
    withNul.replace(0, 6, QByteArray("abc\0de", 6));
    EXPECT_EQ(SGYTextualHeaderText(withNul), "abc");
    // The instrument's 8-bit Cyrillic text.
    EXPECT_EQ(SGYTextualHeaderText(QByteArray("\xd1\xe2\xe0\xff", 4)), "Свая");
}

TEST(SgyHeaderRows, LabelsOffsetsAndValueSigns) {
    SGYBinaryHeader binary;
    binary.jobId = -1;
    binary.sortingCode = 0xFFFF;
    binary.verticalSumCode = 9; // read but never shown
    const auto rows = SGYBinaryHeaderRows(binary);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[0].label, "Идентификационный номер работы");
    EXPECT_EQ(rows[0].value, -1);
    EXPECT_EQ(rows[9].offset, 24);
    EXPECT_EQ(rows[9].label, "Код формата данных в трассе");
    EXPECT_EQ(rows[11].offset, 28);
    EXPECT_EQ(rows[11].value, 65535);

    SGYTraceHeader trace;
    trace.sequenceInLine = -3;
    trace.gainConstant = 0x8000;
    const auto traceRows = SGYTraceHeaderRows(trace);
    ASSERT_EQ(traceRows.size(), 42u);
    EXPECT_EQ(traceRows[0].value, -3);
    EXPECT_EQ(traceRows[19].label, traceRows[20].label);
    EXPECT_EQ(traceRows[19].offset, 68);
    EXPECT_EQ(traceRows[20].offset, 70);
    EXPECT_EQ(traceRows[25].label, "РАЗМЕРНОСТЬ КООРДИНАТ");
    EXPECT_EQ(traceRows[35].label, "ЗАДЕРЖКА НАЧАЛА ЗАПИСИ ОТНОСИТЕЛЬНО НАЧАЛА Tвз");
    EXPECT_EQ(traceRows[41].offset, 120);
    EXPECT_EQ(traceRows[41].value, 32768);
}

} // namespace
