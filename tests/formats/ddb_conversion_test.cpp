#include "app/formats/convert_ddb_file.h"
#include "app/formats/ddb_to_sgy.h"
#include "app/formats/sgy_io.h"
#include "app/seams/progress.h"
#include "tests/formats/ddb_fixture.h"
#include "tests/support/full_disk.h"
#include "tests/support/recording_prompts.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace zarno;
using zarno::testing::MakeDDB;
using zarno::testing::MakeDDBHeader;
using zarno::testing::ReadFile;
using zarno::testing::RecordingPrompts;
using zarno::testing::SmallTmpfs;
using zarno::testing::TestWord;
using zarno::testing::WriteFile;

namespace {

quint32 Be32(const QByteArray& b, qint64 at) {
    return qFromBigEndian<quint32>(b.constData() + at);
}
quint16 Be16(const QByteArray& b, qint64 at) {
    return qFromBigEndian<quint16>(b.constData() + at);
}

// Runs the streaming converter over a DDB file held in memory, in 512-byte blocks.
QByteArray ConvertInMemory(const QByteArray& ddb, SGYTextVariant variant = SGYTextVariant::Local,
                           qint64 bufferBytes = DDBToSGYConverter::kDefaultBufferBytes) {
    DDBToSGYConverter converter(variant, bufferBytes);
    EXPECT_EQ(converter.pushHeaderBlock(QByteArrayView(ddb).first(qMin<qsizetype>(512, ddb.size()))),
              DDBHeaderCheck::Ok);
    QByteArray out;
    QBuffer target(&out);
    target.open(QIODevice::ReadWrite);
    EXPECT_TRUE(converter.begin(target));
    for (qsizetype at = 512; at < ddb.size(); at += 512)
        EXPECT_TRUE(
            converter.pushDataBlock(QByteArrayView(ddb).sliced(at, qMin<qsizetype>(512, ddb.size() - at))));
    EXPECT_TRUE(converter.finish());
    return out;
}

class RecordingProgress final : public Progress {
public:
    qint64 range = -1;
    std::vector<qint64> values;
    void setRange(qint64 total) override { range = total; }
    void setValue(qint64 done) override { values.push_back(done); }
};

TEST(DdbConversion, TwoChannelPlacementAndHeaders) {
    const QByteArray sgy = ConvertInMemory(MakeDDB(MakeDDBHeader(2, 3), 6));
    ASSERT_EQ(sgy.size(), 3600 + 2 * (240 + 4 * 3));
    // Channel 0 gets words 0, 2, 4; channel 1 words 1, 3, 5; each byte-reversed.
    const std::pair<qint64, qint64> placements[] = {{3840, 0}, {3844, 2}, {3848, 4},
                                                    {4092, 1}, {4096, 3}, {4100, 5}};
    for (const auto& [offset, word] : placements) {
        SCOPED_TRACE(offset);
        EXPECT_EQ(Be32(sgy, offset), TestWord(word));
    }

    // Binary header: the written fields, zero everywhere else.
    QByteArray expectedBinary(400, '\0');
    auto put16 = [&](int at, quint16 v) { qToBigEndian(v, expectedBinary.data() + at); };
    qToBigEndian(quint32(0xBEEF), expectedBinary.data() + 4);
    put16(12, 2);
    put16(16, 125);
    put16(18, 125);
    put16(20, 3);
    put16(22, 3);
    put16(24, 2);
    EXPECT_EQ(sgy.mid(3200, 400), expectedBinary);

    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const qint64 at = 3600 + i * (240 + 12);
        EXPECT_EQ(at, i == 0 ? 3600 : 3840 + 4 * 3);
        QByteArray expected(240, '\0');
        for (int field : {0, 4, 12})
            qToBigEndian(quint32(i + 1), expected.data() + field);
        qToBigEndian(quint16(1), expected.data() + 88);
        qToBigEndian(quint16(3), expected.data() + 114);
        qToBigEndian(quint16(125), expected.data() + 116);
        qToBigEndian(quint16(2), expected.data() + 118);
        qToBigEndian(quint16(i == 0 ? 11 : 22), expected.data() + 120);
        EXPECT_EQ(sgy.mid(at, 240), expected);
    }
}

TEST(DdbConversion, SampleIntervalRules) {
    struct Case {
        quint16 frequency, unit, interval;
    };
    const Case cases[] = {{8000, 0, 125}, {8, 1, 125},  {8, 7, 125},
                          {3, 0, 5653},   {1000, 1, 1}, {7, 0, 11785}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.frequency << " unit " << c.unit);
        EXPECT_EQ(DDBSampleInterval(c.frequency, c.unit), c.interval);
        const QByteArray sgy = ConvertInMemory(MakeDDB(MakeDDBHeader(1, 2, c.frequency, c.unit), 2));
        EXPECT_EQ(Be16(sgy, 3200 + 16), c.interval);
        EXPECT_EQ(Be16(sgy, 3200 + 18), c.interval);
        EXPECT_EQ(Be16(sgy, 3600 + 116), c.interval);
    }
}

TEST(DdbConversion, TextualHeaderVariants) {
    DDBHeader full = MakeDDBHeader(1, 1);
    std::memcpy(full.ident, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 36);
    DDBHeader shortIdent = MakeDDBHeader(1, 1);
    shortIdent.year = 12345; // only 4 characters of a year are kept
    shortIdent.milliseconds = 5;
    const QByteArray time = "Time of creation (y/m/d h:m:s.ms):";

    const QByteArray localFull = BuildSGYTextualHeader(full, SGYTextVariant::Local);
    ASSERT_EQ(localFull.size(), 3200);
    const QByteArray expectedText =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789  " + time + "2005/ 4/ 4  11: 3: 38. 12";
    EXPECT_EQ(localFull.left(expectedText.size() + 1), expectedText + '\0');
    EXPECT_EQ(localFull.mid(expectedText.size() + 1), QByteArray(3200 - expectedText.size() - 1, ' '));

    const QByteArray localShort = BuildSGYTextualHeader(shortIdent, SGYTextVariant::Local);
    EXPECT_TRUE(localShort.startsWith("PILE 7  " + time + "1234/ 4/ 4  11: 3: 38. 5" + '\0'));

    const QByteArray deviceFull = BuildSGYTextualHeader(full, SGYTextVariant::Device);
    EXPECT_EQ(deviceFull.left(36), QByteArray(full.ident, 36));
    EXPECT_FALSE(deviceFull.contains('\0'));
    EXPECT_EQ(deviceFull.mid(36), QByteArray(3200 - 36, ' '));

    const QByteArray deviceShort = BuildSGYTextualHeader(shortIdent, SGYTextVariant::Device);
    EXPECT_EQ(deviceShort.left(36), QByteArray("PILE 7") + QByteArray(30, '\0'));
    EXPECT_EQ(deviceShort.mid(36), QByteArray(3200 - 36, ' '));

    // The converter writes the variant it was made with.
    EXPECT_EQ(ConvertInMemory(MakeDDB(full, 1), SGYTextVariant::Device).left(3200), deviceFull);
    EXPECT_EQ(ConvertInMemory(MakeDDB(full, 1), SGYTextVariant::Local).left(3200), localFull);
}

// Whatever the buffer size, the data area is what placing each word on its own gives; words past ns
// per channel are dropped instead of overwriting the next trace's header.
TEST(DdbConversion, BufferedPlacementMatchesTheWordByWordRule) {
    struct Case {
        quint16 channels;
        qint32 ns;
        qint64 words;
        qint64 bufferBytes;
    };
    const Case cases[] = {
        {3, 5, 15, 1 << 20},  // exactly full
        {3, 5, 10, 1 << 20},  // last row partial: channel 0 gets one more sample than channel 2
        {3, 5, 40, 1 << 20},  // 25 words past ns
        {4, 300, 1000, 64},   // chunks of 4 rows, data ends inside a chunk
        {4, 300, 1201, 64},   // one word past the end
        {1, 1000, 1000, 12},  // one channel, chunks of 3 rows
        {7, 129, 7 * 129, 4}, // one row per chunk
        {64, 50, 64 * 50 - 1, 1 << 10},
        {6, 37, 6 * 37 - 3, 1 << 20}, // 4 x 4 tiles with channels and rows left over, a partial row
        {256, 70, 256 * 70 - 77, DDBToSGYConverter::kDefaultBufferBytes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.channels << "x" << c.ns << " words " << c.words << " buffer " << c.bufferBytes);
        const QByteArray sgy = ConvertInMemory(MakeDDB(MakeDDBHeader(c.channels, c.ns), c.words),
                                               SGYTextVariant::Local, c.bufferBytes);
        const qint64 stride = 240 + 4 * qint64(c.ns);
        ASSERT_EQ(sgy.size(), 3600 + c.channels * stride);

        QByteArray expected = sgy; // headers as written; the data areas rebuilt by the rule
        for (qint64 j = 0; j < c.channels; ++j)
            expected.replace(3600 + j * stride + 240, 4 * c.ns, QByteArray(4 * c.ns, '\0'));
        for (qint64 w = 0; w < c.words; ++w) {
            const qint64 j = w % c.channels, s = w / c.channels;
            if (s < c.ns)
                qToBigEndian(TestWord(w), expected.data() + 3840 + j * stride + 4 * s);
        }
        EXPECT_TRUE(sgy == expected);
        for (qint64 j = 0; j < c.channels; ++j)
            EXPECT_EQ(Be32(sgy, 3600 + j * stride), quint32(j + 1)); // trace headers intact
    }
}

class DdbConvertFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RecordingPrompts prompts;
    QString path(const QString& name) const { return dir.filePath(name); }
};

TEST_F(DdbConvertFile, PartialLastBlockAndBlockCount) {
    struct Case {
        qint32 ns;         // per channel, two channels
        qint64 words;      // data words in the file
        qint64 extraBytes; // a 1-3 byte tail past the last whole word
        qint64 blocks;
    };
    const Case cases[] = {
        {128, 128 * 2, 0, 3},     // whole blocks only
        {129, 128 * 2 + 2, 0, 4}, // a last block of 8 bytes
        {128, 128 * 2, 3, 4},     // a last block of 3 bytes, no whole word in it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.words << " words + " << c.extraBytes);
        const QByteArray ddb = MakeDDB(MakeDDBHeader(2, c.ns), c.words, c.extraBytes);
        ASSERT_TRUE(WriteFile(path("rec.ddb"), ddb));
        RecordingProgress progress;
        qint64 blocks = -1;
        ASSERT_EQ(ConvertDDBFile(path("rec.ddb"), path("rec.sgy"), prompts, &progress, &blocks), 1);
        EXPECT_EQ(blocks, c.blocks);
        EXPECT_EQ(progress.range, c.blocks);
        EXPECT_EQ(progress.values.back(), c.blocks);
        const QByteArray sgy = ReadFile(path("rec.sgy"));
        const qint64 stride = 240 + 4 * qint64(c.ns);
        ASSERT_EQ(sgy.size(), 3600 + 2 * stride);
        for (qint64 w = 0; w < c.words; ++w) {
            if (Be32(sgy, 3840 + (w % 2) * stride + 4 * (w / 2)) != TestWord(w)) {
                ADD_FAILURE() << "word " << w;
                break;
            }
        }
    }
    EXPECT_TRUE(prompts.records.empty());
}

// The file conversion reads the source in runs of many blocks; its output is the same as feeding the
// converter block by block.
TEST_F(DdbConvertFile, LargeFileMatchesBlockByBlockConversion) {
    const QByteArray ddb = MakeDDB(MakeDDBHeader(3, 13000), 3 * 13000, 2);
    ASSERT_TRUE(WriteFile(path("big.ddb"), ddb));
    qint64 blocks = 0;
    ASSERT_EQ(ConvertDDBFile(path("big.ddb"), path("big.sgy"), prompts, nullptr, &blocks), 1);
    EXPECT_EQ(blocks, (ddb.size() + 511) / 512);
    EXPECT_TRUE(ReadFile(path("big.sgy")) == ConvertInMemory(ddb));
}

TEST_F(DdbConvertFile, RefusedHeadersLeaveNoTargetAndKeepAnOldOne) {
    struct Case {
        const char* what;
        quint16 channels;
        qint32 ns;
        quint16 frequency, unit;
        qint64 fileBytes;   // 0: the whole file (20 data words)
        quint16 format = 2; // sample format code
    };
    const Case cases[] = {
        {"no channels", 0, 10, 8000, 0, 0},
        {"ns 0", 2, 0, 8000, 0, 0},
        {"ns negative", 2, -1, 8000, 0, 0},
        {"ns above 65535", 2, 65536, 8000, 0, 0},
        {"frequency 0", 2, 10, 0, 0, 0},
        {"interval below 1 us", 2, 10, 2000, 1, 0},
        {"header cut short", 2, 10, 8000, 0, 300},
        {"header only", 2, 10, 8000, 0, 512},
        {"one word short", 2, 10, 8000, 0, 512 + 19 * 4},
        {"65535 channels x 65535 samples", 65535, 65535, 8000, 0, 512},
        {"format 0", 2, 10, 8000, 0, 0, 0},
        {"format 1 (IBM float)", 2, 10, 8000, 0, 0, 1},
        {"format 3 (16-bit)", 2, 10, 8000, 0, 0, 3},
    };
    ASSERT_TRUE(WriteFile(path("old.sgy"), "old contents"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DDBHeader header = MakeDDBHeader(c.channels, c.ns, c.frequency, c.unit);
        header.formatCode = c.format;
        QByteArray ddb = MakeDDB(header, 20);
        if (c.fileBytes)
            ddb.truncate(c.fileBytes);
        ASSERT_TRUE(WriteFile(path("bad.ddb"), ddb));
        prompts.records.clear();
        EXPECT_EQ(ConvertDDBFile(path("bad.ddb"), path("new.sgy"), prompts), kConvertBadHeader);
        EXPECT_EQ(ConvertDDBFile(path("bad.ddb"), path("old.sgy"), prompts), kConvertBadHeader);
        EXPECT_FALSE(QFile::exists(path("new.sgy")));
        EXPECT_EQ(ReadFile(path("old.sgy")), "old contents");
        ASSERT_EQ(prompts.records.size(), 2u);
        EXPECT_EQ(prompts.records[0].text, "Ошибка в формате DDB файла!");
        EXPECT_EQ(prompts.records[0].icon, PromptIcon::Stop);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"bad.ddb", "old.sgy"}));
}

TEST_F(DdbConvertFile, SourceAndTargetFailures) {
    qint64 blocks = -1;
    EXPECT_EQ(ConvertDDBFile(path("missing.ddb"), path("x.sgy"), prompts, nullptr, &blocks), 0);
    EXPECT_EQ(blocks, -1);
    ASSERT_TRUE(WriteFile(path("rec.ddb"), MakeDDB(MakeDDBHeader(1, 4), 4)));
    EXPECT_EQ(ConvertDDBFile(path("rec.ddb"), path("no/such/dir/x.sgy"), prompts, nullptr, &blocks), -2);
    EXPECT_EQ(blocks, 2);
    EXPECT_EQ(prompts.texts(),
              (std::vector<QString>{"Неверно задано имя файла!", "Ошибка при создании файла на PC!"}));
    EXPECT_FALSE(QFile::exists(path("x.sgy")));
}

// A conversion that runs out of room (here: a file size limit) reports it and leaves neither half a
// target nor a stray temporary file, and an older target of the same name survives.
// A target that is the source itself, under any name, would replace the recording by its own
// conversion; a FIFO as source would block the open. Both are refused and nothing is touched.
TEST_F(DdbConvertFile, NeverOverItsSourceNorFromANonRegularFile) {
    const QByteArray ddb = MakeDDB(MakeDDBHeader(1, 4), 4);
    ASSERT_TRUE(WriteFile(path("rec.ddb"), ddb));
    ASSERT_TRUE(QFile::link(path("rec.ddb"), path("rec.sgy")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.ddb")).constData(), 0600), 0);
    struct Case {
        const char* source;
        const char* target;
        int result;
        const char* text;
    };
    const Case cases[] = {
        {"rec.ddb", "rec.sgy", kConvertTargetIsSource, kTextTargetIsSource},
        {"rec.ddb", "sub/../rec.ddb", kConvertTargetIsSource, kTextTargetIsSource},
        {"pipe.ddb", "pipe.sgy", kConvertSourceNotOpened, kTextNotARegularFile},
        {"sub", "sub.sgy", kConvertSourceNotOpened, kTextNotARegularFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " -> " + c.target);
        prompts.records.clear();
        EXPECT_EQ(ConvertDDBFile(path(c.source), path(c.target), prompts), c.result);
        ASSERT_EQ(prompts.records.size(), 1u);
        EXPECT_TRUE(prompts.records[0].text.contains(QString::fromUtf8(c.text)));
        EXPECT_TRUE(
            prompts.records[0].text.contains(path(c.result == kConvertTargetIsSource ? c.target : c.source)));
        EXPECT_EQ(ReadFile(path("rec.ddb")), ddb);
    }
    EXPECT_TRUE(QFileInfo(path("rec.sgy")).isSymLink());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System),
              (QStringList{"pipe.ddb", "rec.ddb", "rec.sgy"}));
}

TEST_F(DdbConvertFile, WriteFailureLeavesNothingHalfWritten) {
    ASSERT_TRUE(WriteFile(path("rec.ddb"), MakeDDB(MakeDDBHeader(4, 20000), 4 * 20000)));
    ASSERT_TRUE(WriteFile(path("old.sgy"), "old contents"));
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const int toNew = ConvertDDBFile(path("rec.ddb"), path("new.sgy"), prompts);
    const int toOld = ConvertDDBFile(path("rec.ddb"), path("old.sgy"), prompts);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(toNew, kConvertIoFailed);
    EXPECT_EQ(toOld, kConvertIoFailed);
    EXPECT_EQ(prompts.texts(),
              (std::vector<QString>{"Ошибка при записи файла на PC!", "Ошибка при записи файла на PC!"}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"old.sgy", "rec.ddb"}));
    EXPECT_EQ(ReadFile(path("old.sgy")), "old contents");
}

// The disk fills up only when the last buffered samples go out, inside the commit: a recording small
// enough to sit in the write buffer, on a tmpfs with one free page after the headers.
TEST_F(DdbConvertFile, DiskFullAtTheLastWriteKeepsTheOldTarget) {
    SmallTmpfs disk;
    if (!disk.mounted())
        GTEST_SKIP() << disk.why().toStdString();
    ASSERT_TRUE(WriteFile(path("rec.ddb"), MakeDDB(MakeDDBHeader(1, 2000), 2000)));
    ASSERT_TRUE(WriteFile(disk.filePath("rec.sgy"), "old contents"));
    ASSERT_TRUE(disk.fillLeaving(8192));
    EXPECT_EQ(ConvertDDBFile(path("rec.ddb"), disk.filePath("rec.sgy"), prompts), kConvertIoFailed);
    EXPECT_EQ(prompts.texts(), std::vector<QString>{"Ошибка при записи файла на PC!"});
    EXPECT_EQ(ReadFile(disk.filePath("rec.sgy")), "old contents");
    EXPECT_EQ(disk.entries(), QStringList{"rec.sgy"});
}

// A target that takes a number of writes and refuses the rest.
class FailingBuffer final : public QBuffer {
public:
    explicit FailingBuffer(int writesTaken) : m_left(writesTaken) {}

protected:
    qint64 writeData(const char* data, qint64 size) override {
        return m_left-- > 0 ? QBuffer::writeData(data, size) : -1;
    }

private:
    int m_left;
};

TEST(DdbConversion, WriteFailuresAreReported) {
    const QByteArray ddb = MakeDDB(MakeDDBHeader(2, 1000), 2000);
    // Sizing, textual header, binary header, two trace headers, then data runs of 128 samples.
    for (const int limit : {0, 1, 4, 5, 8, 20}) {
        SCOPED_TRACE(limit);
        DDBToSGYConverter converter(SGYTextVariant::Device, 1024);
        ASSERT_EQ(converter.pushHeaderBlock(QByteArrayView(ddb).first(512)), DDBHeaderCheck::Ok);
        FailingBuffer target(limit);
        target.open(QIODevice::ReadWrite);
        const bool begun = converter.begin(target);
        EXPECT_EQ(begun, limit > 4);
        bool ok = begun;
        for (qsizetype at = 512; ok && at < ddb.size(); at += 512)
            ok = converter.pushDataBlock(
                QByteArrayView(ddb).sliced(at, qMin<qsizetype>(512, ddb.size() - at)));
        EXPECT_FALSE(ok && converter.finish());
        EXPECT_FALSE(converter.finish());
    }
    {
        DDBToSGYConverter converter(SGYTextVariant::Device, 1024);
        ASSERT_EQ(converter.pushHeaderBlock(QByteArrayView(ddb).first(512)), DDBHeaderCheck::Ok);
        FailingBuffer target(5 + 16); // room for everything: 2 channels x 8 runs of 128 samples
        target.open(QIODevice::ReadWrite);
        ASSERT_TRUE(converter.begin(target));
        for (qsizetype at = 512; at < ddb.size(); at += 512)
            ASSERT_TRUE(converter.pushDataBlock(
                QByteArrayView(ddb).sliced(at, qMin<qsizetype>(512, ddb.size() - at))));
        EXPECT_TRUE(converter.finish());
    }
}

// Takes bytes in order only, like a pipe: every seek fails.
class SequentialSink final : public QIODevice {
public:
    QByteArray bytes;
    int writes = 0;
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        bytes.append(data, size);
        ++writes;
        return size;
    }
};

// Feeds ddb to a converter holding the whole recording; false when a step failed.
bool ConvertWhole(const QByteArray& ddb, QIODevice& target) {
    DDBToSGYConverter converter(SGYTextVariant::Local, qint64(1) << 20);
    bool ok = converter.pushHeaderBlock(QByteArrayView(ddb).first(512)) == DDBHeaderCheck::Ok &&
              converter.begin(target);
    for (qsizetype at = 512; ok && at < ddb.size(); at += 512)
        ok = converter.pushDataBlock(QByteArrayView(ddb).sliced(at, qMin<qsizetype>(512, ddb.size() - at)));
    return ok && converter.finish();
}

// A recording that fits the buffer goes out front to back in one write without a seek, byte for byte
// what the conversion in runs of one row writes, also when the recording is cut short (the missing
// samples read as zeros) or runs past ns. A refused write is reported.
TEST(DdbConversion, WholeRecordingGoesOutInOneSequentialWrite) {
    struct Case {
        quint16 channels;
        qint32 ns;
        qint64 words;
    };
    const Case cases[] = {
        {3, 5, 15}, {3, 5, 10}, {3, 5, 40}, {6, 37, 6 * 37 - 3}, {1, 1000, 999}, {256, 70, 256 * 70 - 77},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.channels << "x" << c.ns << " words " << c.words);
        const QByteArray ddb = MakeDDB(MakeDDBHeader(c.channels, c.ns), c.words);
        SequentialSink sink;
        sink.open(QIODevice::WriteOnly);
        ASSERT_TRUE(ConvertWhole(ddb, sink));
        EXPECT_EQ(sink.writes, 1);
        EXPECT_TRUE(sink.bytes == ConvertInMemory(ddb, SGYTextVariant::Local, 4));
    }
    FailingBuffer refusing(0);
    refusing.open(QIODevice::ReadWrite);
    EXPECT_FALSE(ConvertWhole(MakeDDB(MakeDDBHeader(2, 100), 200), refusing));
}

TEST(DdbHeader, FieldOffsetsAndRoundTrip) {
    DDBHeader h = MakeDDBHeader(0x0102, 0x0A0B0C0D, 0x1122, 0x3344);
    h.unused94[417] = 0x77;
    const auto bytes = EncodeDDBHeader(h);
    const std::pair<int, std::vector<quint8>> expected[] = {
        {0, {'P', 'I', 'L', 'E', ' ', '7', 0}},
        {38, {0xEF, 0xBE}},
        {44, {0xD5, 0x07}},
        {58, {0x22, 0x11}},
        {60, {11, 0, 22, 0}},
        {64, {0x02, 0x01, 0x0D, 0x0C, 0x0B, 0x0A, 2, 0}},
        {92, {0x44, 0x33}},
        {511, {0x77}},
    };
    for (const auto& [offset, want] : expected) {
        SCOPED_TRACE(offset);
        EXPECT_EQ(
            std::vector<quint8>(bytes.begin() + offset, bytes.begin() + offset + qsizetype(want.size())),
            want);
    }
    const DDBHeader back = ParseDDBHeader(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    EXPECT_EQ(EncodeDDBHeader(back), bytes);
    EXPECT_EQ(DDBIdentText(back), "PILE 7");
}

} // namespace
