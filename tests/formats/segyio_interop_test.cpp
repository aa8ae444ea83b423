// Interoperation with segyio, a SEG-Y implementation written elsewhere: it reads what the conversion
// writes, and the reader reads what it writes, in both byte orders.

#include "app/formats/convert_ddb_file.h"
#include "app/formats/sgy_io.h"
#include "tests/formats/ddb_fixture.h"
#include "tests/support/recording_prompts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <bit>

using namespace zarno;
using zarno::testing::MakeDDB;
using zarno::testing::MakeDDBHeader;
using zarno::testing::RecordingPrompts;
using zarno::testing::TestWord;
using zarno::testing::WriteFile;

namespace {

// Runs the segyio script and returns its JSON answer.
QJsonObject RunSegyio(const QStringList& args) {
    QProcess process;
    process.start(ZARNO_SEGYIO_PYTHON, QStringList{ZARNO_SEGYIO_SCRIPT} + args);
    EXPECT_TRUE(process.waitForFinished(120000)) << "segyio script did not finish";
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(process.readAllStandardOutput(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return doc.object();
}

TEST(SegyioInterop, SegyioReadsOurConversion) {
    QTemporaryDir dir;
    for (const quint16 format : {quint16(2), quint16(5)}) {
        SCOPED_TRACE(format);
        const quint16 channels = 3;
        const qint32 ns = 7;
        DDBHeader header = MakeDDBHeader(channels, ns, 4, 1); // 4 kHz: 250 us
        header.formatCode = format;
        const QString ddb = dir.filePath("rec.ddb"), sgy = dir.filePath("rec.sgy");
        ASSERT_TRUE(WriteFile(ddb, MakeDDB(header, channels * ns)));
        RecordingPrompts prompts;
        ASSERT_EQ(ConvertDDBFile(ddb, sgy, prompts), 1);

        const QJsonObject seen = RunSegyio({"read", sgy});
        EXPECT_EQ(seen["tracecount"].toInt(), channels);
        EXPECT_EQ(seen["samples"].toInt(), ns);
        EXPECT_EQ(seen["interval"].toInt(), 250);
        EXPECT_EQ(seen["format"].toInt(), format);
        const QJsonArray traces = seen["traces"].toArray();
        ASSERT_EQ(traces.size(), channels);
        for (qint64 j = 0; j < channels; ++j) {
            const QJsonArray samples = traces[j].toArray();
            ASSERT_EQ(samples.size(), ns);
            for (qint64 s = 0; s < ns; ++s) {
                const quint32 word = TestWord(s * channels + j);
                const double expected =
                    format == 2 ? double(qint32(word)) : double(std::bit_cast<float>(word));
                EXPECT_EQ(samples[s].toDouble(), expected) << "trace " << j << " sample " << s;
            }
        }
    }
}

TEST(SegyioInterop, WeReadWhatSegyioWritesInBothByteOrders) {
    QTemporaryDir dir;
    for (const char* endian : {"big", "little"}) {
        for (const int format : {2, 5}) {
            SCOPED_TRACE(::testing::Message() << endian << " format " << format);
            const QString path = dir.filePath("segyio.sgy");
            const QJsonObject written = RunSegyio({"write", path, endian, QString::number(format)});
            const QJsonArray traces = written["traces"].toArray();
            ASSERT_EQ(traces.size(), 3);

            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            ASSERT_TRUE(file.seek(kSGYBinaryHeaderOffset));
            SGYBinaryHeader binary;
            RecordingPrompts prompts;
            bool little = false;
            ASSERT_EQ(ReadSGYBinaryHeader(file, binary, little, prompts), 0);
            EXPECT_EQ(little, QByteArray(endian) == "little");
            EXPECT_EQ(binary.formatCode, format);
            EXPECT_EQ(binary.tracesPerRecord, 3);
            EXPECT_EQ(binary.samplesPerTrace, 5);
            EXPECT_EQ(binary.fieldSampleInterval, 250);
            EXPECT_EQ(file.size(), SGYFileSize(5, 3));
            for (qint64 i = 0; i < 3; ++i) {
                SCOPED_TRACE(i);
                SGYTraceHeader trace;
                ASSERT_TRUE(file.seek(SGYTraceOffset(binary, i)));
                ASSERT_EQ(ReadSGYTraceHeader(file, trace, little), 1);
                EXPECT_EQ(trace.sequenceInLine, written["sequence"].toArray()[i].toInt());
                EXPECT_EQ(trace.sourceReceiverDistance, written["offset"].toArray()[i].toInt());
                EXPECT_EQ(trace.sampleCount, 5);
                EXPECT_EQ(trace.sampleInterval, 250);
                std::vector<double> samples;
                ASSERT_EQ(ReadSGYTraceSamples(file, binary, little, i, samples), 5);
                const QJsonArray expected = traces[i].toArray();
                for (qint64 k = 0; k < 5; ++k)
                    EXPECT_EQ(samples[std::size_t(k)], expected[k].toDouble()) << "sample " << k;
            }
            EXPECT_TRUE(prompts.records.empty());
        }
    }
}

} // namespace
