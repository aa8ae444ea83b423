#include "app/formats/sgy_file.h"
#include "app/formats/sgy_io.h"
#include "tests/support/sgy_fixture.h"
#include "tests/support/recording_prompts.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace zarno;
using zarno::testing::DoubleBits;
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
        {0, 2, false, 2},  {2, 0, true, 2},    {0, 5, false, 5},   {5, 0, true, 5},   {0, 1, false, 1},
        {1, 0, true, 1},   {0, 3, false, 3},   {3, 0, true, 3},    {0, 6, false, 6},  {6, 0, true, 6},
        {0, 8, false, 8},  {8, 0, true, 8},    {0, 10, false, 10}, {10, 0, true, 10}, {0, 11, false, 11},
        {11, 0, true, 11}, {0, 16, false, 16}, {16, 0, true, 16},
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

// A code the reader cannot decode is refused and named; with no byte order found, a code in one byte
// is named as that byte, one in two as big-endian reads it. A 2 or 5 with another byte beside it
// decodes to such a code.
TEST(SgyReader, UnknownFormatsAreRejectedNamedAndChangeNothing) {
    struct Case {
        quint8 byte24, byte25;
        int code;
    };
    const Case cases[] = {{0, 0, 0},   {0, 4, 4},   {4, 0, 4},     {0, 7, 7},      {0, 9, 9},
                          {12, 0, 12}, {1, 1, 257}, {0, 255, 255}, {5, 2, 0x0502}, {2, 5, 0x0502}};
    for (const auto& [byte24, byte25, code] : cases) {
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
            EXPECT_EQ(
                prompts.records[0].text,
                QString("Ошибка в формате SGY файла!\nКод формата данных %1 не поддерживается").arg(code));
            EXPECT_EQ(prompts.records[0].icon, PromptIcon::Stop);
        }
    }
}

// The layout as the whole-file read resolves it, for a file held in memory.
SGYLayout LayoutOf(QBuffer& file, RecordingPrompts& prompts) {
    SGYFileHeaders headers;
    EXPECT_TRUE(ReadSGYFileHeaders(file, headers, prompts));
    EXPECT_EQ(headers.resolved.refusal, QString());
    return headers.resolved.layout;
}

// Every sample format, in both byte orders, from files built byte by byte: the headers and the
// samples read the same as the big-endian twin's, and the trace offsets follow the sample width.
TEST(SgyReader, EveryFormatInBothByteOrdersReadsTheSameValues) {
    struct Case {
        quint16 format;
        std::vector<std::vector<quint64>> words;
        std::vector<std::vector<double>> expected;
    };
    const Case cases[] = {
        {1,
         {{0x42640000, 0xC276A000, 0}, {0x41100000, 0x3B100000, 0x80000000}},
         {{100, -118.625, 0}, {1, std::ldexp(1.0, -24), 0}}},
        {2,
         {{1, quint32(-2), 0x7FFFFFFF}, {quint32(-2147483647 - 1), 5, 6}},
         {{1, -2, 2147483647.0}, {-2147483648.0, 5, 6}}},
        {3, {{1, quint16(-2), 0x7FFF}, {0x8000, 5, 6}}, {{1, -2, 32767}, {-32768, 5, 6}}},
        {5,
         {{FloatBits(1.5f), FloatBits(-0.25f), FloatBits(3e9f)},
          {FloatBits(0.f), FloatBits(-7.f), FloatBits(1e-3f)}},
         {{1.5, -0.25, double(3e9f)}, {0, -7, double(1e-3f)}}},
        {6,
         {{DoubleBits(0.1), DoubleBits(-1e300), 0}, {DoubleBits(2.5), 0, DoubleBits(-0.0)}},
         {{0.1, -1e300, 0}, {2.5, 0, 0}}},
        {8, {{1, 0xFE, 0x7F}, {0x80, 5, 6}}, {{1, -2, 127}, {-128, 5, 6}}},
        {10, {{1, 0xFFFFFFFF, 0x80000000}, {0, 5, 6}}, {{1, 4294967295.0, 2147483648.0}, {0, 5, 6}}},
        {11, {{1, 0xFFFF, 0x8000}, {0, 5, 6}}, {{1, 65535, 32768}, {0, 5, 6}}},
        {16, {{1, 0xFF, 0x80}, {0, 5, 6}}, {{1, 255, 128}, {0, 5, 6}}},
    };
    for (const Case& c : cases) {
        for (const bool little : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "format " << c.format << (little ? " little" : " big"));
            SgyFixture fixture;
            fixture.littleEndian = little;
            fixture.format = c.format;
            fixture.traces = c.words;
            QByteArray bytes = fixture.build();
            QBuffer file(&bytes);
            file.open(QIODevice::ReadOnly);
            RecordingPrompts prompts;
            const SGYLayout layout = LayoutOf(file, prompts);
            EXPECT_EQ(layout.littleEndian, little);
            EXPECT_EQ(layout.formatCode, c.format);
            EXPECT_EQ(layout.traceCount, 2);
            EXPECT_EQ(layout.sampleIntervalUs, 125);
            EXPECT_EQ(layout.samplesPerTrace, 3);
            EXPECT_EQ(layout.FileSize(), bytes.size());
            EXPECT_EQ(SGYTracesRefusal(file, layout), QString());
            for (qint64 i = 0; i < 2; ++i) {
                SCOPED_TRACE(::testing::Message() << "trace " << i);
                SGYTraceHeader trace;
                ASSERT_TRUE(file.seek(layout.TraceOffset(i)));
                EXPECT_EQ(ReadSGYTraceHeader(file, trace, little), 1);
                EXPECT_EQ(trace.sequenceInLine, i + 1);
                EXPECT_EQ(trace.sequenceInReel, i + 1);
                EXPECT_EQ(trace.traceInFieldRecord, i + 1);
                EXPECT_EQ(trace.sourceReceiverDistance, -5 - i);
                EXPECT_EQ(trace.elevationScalar, 65535);
                EXPECT_EQ(trace.coordinateUnits, 1);
                EXPECT_EQ(trace.sampleCount, 3);
                EXPECT_EQ(trace.gainConstant, 7 + i);
                std::vector<double> samples;
                EXPECT_EQ(ReadSGYTraceSamples(file, layout, i, samples), 3);
                EXPECT_EQ(samples, c.expected[std::size_t(i)]);
            }
            EXPECT_TRUE(prompts.records.empty());
        }
    }
}

// IBM floats are exact: the whole exponent range, beyond what an IEEE single holds, and the sign of
// an unnormalised fraction.
TEST(SgyReader, IBMFloatsConvertExactly) {
    const std::pair<quint32, double> cases[] = {
        {0x00000000, 0.0},
        {0x41100000, 1.0},
        {0xC276A000, -118.625},
        {0x40800000, 0.5},
        {0x42000001, std::ldexp(1.0, -16)}, // an unnormalised fraction: 1 × 16^(2-6)
        {0x00100000, std::ldexp(1.0, -260)},
        {0x7FFFFFFF, std::ldexp(double(0xFFFFFF), 4 * 63 - 24)},
        {0xFFFFFFFF, -std::ldexp(double(0xFFFFFF), 4 * 63 - 24)},
    };
    for (const auto& [word, value] : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << word);
        EXPECT_EQ(IBMFloatToDouble(word), value);
    }
    EXPECT_EQ(DecodeSGYSample(std::array<quint8, 4>{0, 0xA0, 0x76, 0xC2}.data(), 1, true), -118.625);
    EXPECT_EQ(DecodeSGYSample(std::array<quint8, 4>{0x3F, 0xC0, 0, 0}.data(), 4, false), 0.0);
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
    const SGYLayout littleLayout = LayoutOf(littleFile, prompts);
    const SGYLayout bigLayout = LayoutOf(bigFile, prompts);
    EXPECT_TRUE(littleLayout.littleEndian);
    EXPECT_FALSE(bigLayout.littleEndian);

    std::vector<double> samples;
    ReadSGYTraceSamples(littleFile, littleLayout, 0, samples);
    EXPECT_EQ(samples, (std::vector<double>{1, 2, 3}));
    SGYTraceHeader trace;
    littleFile.seek(littleLayout.TraceOffset(0));
    ASSERT_EQ(ReadSGYTraceHeader(littleFile, trace, littleLayout.littleEndian), 1);
    EXPECT_EQ(trace.sampleCount, 3);
    ReadSGYTraceSamples(bigFile, bigLayout, 0, samples);
    EXPECT_EQ(samples, (std::vector<double>{4, 5, 6}));
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
    std::memset(binary.unused72, 0xAA, sizeof binary.unused72);
    RecordingPrompts prompts;
    bool little = false;
    ASSERT_EQ(ReadBinary(file, binary, little, prompts), 0);
    EXPECT_EQ(binary.unused72[0], 0xAA);
    EXPECT_EQ(binary.unused72[227], 0xAA);
    const SGYLayout layout = LayoutOf(file, prompts);

    SGYTraceHeader trace;
    file.seek(layout.TraceOffset(0));
    ASSERT_EQ(ReadSGYTraceHeader(file, trace, little), 1);
    ASSERT_EQ(trace.gainConstant, 7);

    file.seek(layout.TraceOffset(1));
    EXPECT_EQ(ReadSGYTraceHeader(file, trace, little), 0);
    EXPECT_EQ(trace.sequenceInLine, 2); // within the 100 bytes present
    EXPECT_EQ(trace.coordinateUnits, 1);
    EXPECT_EQ(trace.sampleCount, 0); // past the 100 bytes
    EXPECT_EQ(trace.gainConstant, 0);

    std::vector<double> samples = {1, 2, 3, 4};
    EXPECT_EQ(ReadSGYTraceSamples(file, layout, 1, samples), 0);
    EXPECT_EQ(samples, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(ReadSGYTraceSamples(file, layout, 5, samples), 0);
    EXPECT_EQ(samples, (std::vector<double>{0, 0, 0}));
}

// Reading samples needs the whole file as its headers lay it out; each way of falling short is
// refused with the format message and its reason, and nothing else is said.
TEST(SgyReader, FilesThatCannotBeReadWholeAreRefusedWithTheReason) {
    SgyFixture good;
    good.traces = {{10, 20, 30}, {40, 50, 60}};
    // The trace count at 3212-3213 left at 0, as writers of single-line data do.
    const auto withoutCount = [&](qsizetype keep) {
        QByteArray b = good.build().left(keep);
        b[3200 + 13] = 0;
        return b;
    };
    struct Case {
        const char* name;
        std::function<QByteArray()> bytes;
        const char* reason; // empty: the file reads
        qint64 traces = 2;
    };
    const Case cases[] = {
        {"whole", [&] { return good.build(); }, ""},
        {"longer than claimed", [&] { return good.build() + QByteArray(100, 'x'); }, ""},
        {"no trace count: as many as the file holds whole", [&] { return withoutCount(4104 - 1); }, "", 1},
        {"no trace count and no trace", [&] { return withoutCount(3600 + 251); },
         "В файле нет ни одной трассы"},
        {"one byte short", [&] { return good.build().chopped(1); },
         "Файл короче, чем сказано в его заголовках: 4103 байт вместо 4104 (2 трасс по 3 отсчётов)"},
        {"cut inside the binary header", [&] { return good.build().left(3500); },
         "Файл короче заголовков SEG-Y: 3500 байт вместо 3600"},
        {"a trace of another length",
         [&] {
             QByteArray b = good.build();
             b[3600 + 252 + 115] = 4; // trace 2 says 4 samples
             return b;
         },
         "Трассы разной длины: в трассе 2 4 отсчётов, а по заголовку файла 3"},
        {"no interval anywhere",
         [&] {
             SgyFixture f = good;
             f.interval = 0;
             return f.build();
         },
         "Шаг дискретизации не указан ни в одном заголовке"},
        {"no sample count anywhere",
         [&] {
             SgyFixture f = good;
             f.samplesPerTrace = 0;
             return f.build();
         },
         "Число отсчётов в трассе не указано ни в одном заголовке"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = c.bytes();
        QBuffer file(&bytes);
        file.open(QIODevice::ReadOnly);
        RecordingPrompts prompts;
        SGYFileHeaders headers;
        const bool read = ReadSGYFileForSamples(file, headers, prompts);
        EXPECT_EQ(read, QByteArray(c.reason).isEmpty());
        if (read) {
            EXPECT_TRUE(prompts.records.empty());
            EXPECT_EQ(headers.resolved.layout.traceCount, c.traces);
        } else
            EXPECT_EQ(prompts.texts(),
                      std::vector<QString>{"Ошибка в формате SGY файла!\n" + QString::fromUtf8(c.reason)});
    }
}

// The interval and the sample count come from the first field that gives them, and fields that
// disagree are noted with the value taken.
TEST(SgyLayout, IntervalAndSampleCountRules) {
    struct Case {
        const char* name;
        quint16 interval, fieldInterval, traceInterval;
        quint16 samples, traceSamples;
        qint32 extendedSamples;
        quint16 revision; // as the file's first and second bytes: 0x0200 is revision 2.0
        int wantInterval;
        qint64 wantSamples;
        int notes;
    };
    const Case cases[] = {
        {"ours: every field the same", 40, 40, 40, 3000, 3000, 0, 0, 40, 3000, 0},
        {"standard field over the original recording's", 40, 1000, 40, 3000, 3000, 0, 0, 40, 3000, 1},
        {"original recording's when the standard is 0", 0, 250, 0, 3000, 0, 0, 0, 250, 3000, 0},
        {"trace header's when both are 0", 0, 0, 125, 3000, 3000, 0, 0, 125, 3000, 0},
        {"the trace header's count when the binary's is 0", 40, 40, 40, 0, 512, 0, 0, 40, 512, 0},
        {"counts that disagree", 40, 40, 40, 3000, 2999, 0, 0, 40, 3000, 1},
        {"revision 2's extended count", 40, 40, 40, 0, 0, 100000, 0x0200, 40, 100000, 0},
        {"extended count over a different 16-bit one", 40, 40, 40, 3000, 0, 70000, 0x0200, 40, 70000, 1},
        {"no extended count before revision 2", 40, 40, 40, 3000, 3000, 70000, 0x0100, 40, 3000, 0},
        {"everything disagrees", 10, 20, 30, 5, 6, 0, 0, 10, 5, 2},
    };
    for (const Case& c : cases) {
        for (const bool little : {false, true}) {
            SCOPED_TRACE(::testing::Message() << c.name << (little ? " little" : " big"));
            SGYBinaryHeader binary;
            binary.tracesPerRecord = 2;
            binary.formatCode = kSGYFormatInt16;
            binary.sampleInterval = c.interval;
            binary.fieldSampleInterval = c.fieldInterval;
            binary.samplesPerTrace = c.samples;
            binary.extendedSamplesPerTrace = c.extendedSamples;
            // The record holds the field as the file's order decodes it.
            binary.formatRevision = little ? quint16(c.revision >> 8 | (c.revision & 0xFF) << 8) : c.revision;
            SGYTraceHeader trace;
            trace.sampleInterval = c.traceInterval;
            trace.sampleCount = c.traceSamples;
            const SGYLayoutResult r = ResolveSGYLayout(binary, little, trace);
            EXPECT_EQ(r.refusal, QString());
            EXPECT_EQ(r.layout.sampleIntervalUs, c.wantInterval);
            EXPECT_EQ(r.layout.samplesPerTrace, c.wantSamples);
            EXPECT_EQ(r.layout.TraceSize(), 240 + 2 * c.wantSamples);
            EXPECT_EQ(r.notes.size(), c.notes) << r.notes.join('\n').toStdString();
        }
    }
    SGYBinaryHeader binary;
    binary.formatCode = kSGYFormatFloat32;
    binary.sampleInterval = 40;
    binary.fieldSampleInterval = 1000;
    binary.samplesPerTrace = 3;
    EXPECT_EQ(ResolveSGYLayout(binary, false, SGYTraceHeader{}).notes,
              QStringList{"Шаг дискретизации в заголовках различается: на ленте 40 мкс, на полевой ленте "
                          "1000 мкс; используется 40 мкс"});
}

// From revision 1 on, the binary header counts extended textual headers, and the traces start after
// them; a file whose count says "variable" is refused.
TEST(SgyLayout, ExtendedTextualHeadersMoveTheTraces) {
    SgyFixture fixture;
    fixture.traces = {{7, 8, 9}};
    QByteArray bytes = fixture.build();
    bytes.insert(3600, QByteArray(2 * 3200, ' '));
    bytes[3200 + 300] = 1; // revision 1.0
    bytes[3200 + 305] = 2; // two extended textual headers
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    RecordingPrompts prompts;
    SGYFileHeaders headers;
    ASSERT_TRUE(ReadSGYFileForSamples(file, headers, prompts));
    EXPECT_EQ(headers.resolved.layout.firstTraceOffset, 3600 + 6400);
    std::vector<double> samples;
    EXPECT_EQ(ReadSGYTraceSamples(file, headers.resolved.layout, 0, samples), 3);
    EXPECT_EQ(samples, (std::vector<double>{7, 8, 9}));

    bytes[3200 + 304] = char(0xFF);
    bytes[3200 + 305] = char(0xFF);
    file.seek(0);
    EXPECT_FALSE(ReadSGYFileForSamples(file, headers, prompts));
    EXPECT_EQ(prompts.texts().back(),
              "Ошибка в формате SGY файла!\nЧисло дополнительных текстовых заголовков не указано");
}

// Input that can only be read in one pass is refused before it is opened or read, a FIFO without a
// writer included (opening it would never return).
TEST(SgyFile, PipesAndFifosAreRefusedAtOnce) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("f.sgy");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const QString pipePath = QString("/proc/self/fd/%1").arg(fds[0]);
    for (const QString& path : {fifo, pipePath, dir.path()}) {
        SCOPED_TRACE(path.toStdString());
        QFile file;
        RecordingPrompts prompts;
        EXPECT_EQ(OpenSGYFile(file, path, prompts), SGYOpenResult::NotAFile);
        EXPECT_FALSE(file.isOpen());
        ASSERT_EQ(prompts.records.size(), 1u);
        EXPECT_TRUE(prompts.records[0].text.startsWith("Ошибка в формате SGY файла!\nЭто не обычный файл"));
    }
    ::close(fds[0]);
    ::close(fds[1]);
    QFile file;
    RecordingPrompts prompts;
    EXPECT_EQ(OpenSGYFile(file, dir.filePath("missing.sgy"), prompts), SGYOpenResult::CannotOpen);
    EXPECT_TRUE(prompts.records.empty());
}

TEST(SgyText, TextualHeaderEndsAtNulOrAfter3200Characters) {
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

// A standard header is 40 card images of 80 characters, in EBCDIC or ASCII; shown, it is 40 lines
// whatever the code. A header with line feeds of its own keeps its lines.
TEST(SgyText, CardImagesAreShownAsFortyLinesInEitherCode) {
    QByteArray ascii;
    for (int card = 1; card <= 40; ++card)
        ascii += QString("C%1 CARD %2").arg(card, 2).arg(card).leftJustified(80, ' ').toLatin1();
    ASSERT_EQ(ascii.size(), 3200);
    QByteArray ebcdic = ascii;
    const QByteArray from = "C0123456789ARD ",
                     to = "\xC3\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF7\xF8\xF9\xC1\xD9\xC4\x40";
    for (char& b : ebcdic)
        b = to[from.indexOf(b)];
    for (const QByteArray& block : {ascii, ebcdic}) {
        SCOPED_TRACE(block == ascii ? "ASCII" : "EBCDIC");
        EXPECT_EQ(SGYTextualHeaderIsEBCDIC(block), block == ebcdic);
        const QStringList lines = SGYTextualHeaderLines(block);
        ASSERT_EQ(lines.size(), 40);
        EXPECT_EQ(lines[0], "C 1 CARD 1");
        EXPECT_EQ(lines[39], "C40 CARD 40");
    }
    EXPECT_EQ(SGYTextualHeaderLines(QByteArray("one\r\ntwo  \nthree\0four", 21)),
              (QStringList{"one", "two", "three"}));
    // The instrument's own one-line header stays one line.
    EXPECT_EQ(SGYTextualHeaderLines(QByteArray("\xd1\xe2\xe0\xff 7  Time", 12) + QByteArray(3188, '\0')),
              QStringList{"Свая 7  Time"});
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
