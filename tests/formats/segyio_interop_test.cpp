// Interoperation with segyio, a SEG-Y implementation written elsewhere: it reads what the conversion
// writes, and the reader reads what it writes, in every sample format it writes and both byte orders.

#include "app/formats/convert_ddb_file.h"
#include "app/formats/sgy_file.h"
#include "app/formats/sgy_io.h"
#include "tests/formats/ddb_fixture.h"
#include "tests/support/child_process.h"
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

using CliRun = zarno::testing::ProcessRun;

CliRun Cli(const QStringList& args) {
    return zarno::testing::RunProcess(ZARNO_CLI, args);
}

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

// Every sample format segyio writes, in both byte orders: the reader gives the samples segyio reads
// back (IBM floats exactly as segyio converts them) and the textual header segyio wrote, in EBCDIC.
TEST(SegyioInterop, WeReadWhatSegyioWritesInEveryFormatAndBothByteOrders) {
    QTemporaryDir dir;
    for (const char* endian : {"big", "little"}) {
        for (const int format : {1, 2, 3, 5, 8}) {
            SCOPED_TRACE(::testing::Message() << endian << " format " << format);
            const QString path = dir.filePath("segyio.sgy");
            const QJsonObject written = RunSegyio({"write", path, endian, QString::number(format)});
            const QJsonObject seen = RunSegyio({"read", path, endian});
            const QJsonArray traces = seen["traces"].toArray();
            ASSERT_EQ(traces.size(), 3);

            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            SGYFileHeaders headers;
            RecordingPrompts prompts;
            ASSERT_TRUE(ReadSGYFileForSamples(file, headers, prompts));
            const SGYLayout& layout = headers.resolved.layout;
            EXPECT_EQ(layout.littleEndian, QByteArray(endian) == "little");
            EXPECT_EQ(layout.formatCode, format);
            EXPECT_EQ(layout.traceCount, 3);
            EXPECT_EQ(layout.samplesPerTrace, 8);
            EXPECT_EQ(layout.sampleIntervalUs, 250);
            EXPECT_EQ(layout.FileSize(), file.size());
            EXPECT_TRUE(headers.resolved.notes.isEmpty());
            const QStringList lines = SGYTextualHeaderLines(headers.textual);
            QStringList segyioLines;
            for (const QJsonValue& line : seen["text"].toArray())
                segyioLines << line.toString();
            EXPECT_EQ(lines.join('\n').toStdString(), segyioLines.join('\n').toStdString());
            EXPECT_EQ(lines.size(), 40);
            for (qint64 i = 0; i < 3; ++i) {
                SCOPED_TRACE(i);
                SGYTraceHeader trace;
                ASSERT_TRUE(file.seek(layout.TraceOffset(i)));
                ASSERT_EQ(ReadSGYTraceHeader(file, trace, layout.littleEndian), 1);
                EXPECT_EQ(trace.sequenceInLine, written["sequence"].toArray()[i].toInt());
                EXPECT_EQ(trace.sourceReceiverDistance, written["offset"].toArray()[i].toInt());
                EXPECT_EQ(trace.sampleCount, 8);
                EXPECT_EQ(trace.sampleInterval, 250);
                std::vector<double> samples;
                ASSERT_EQ(ReadSGYTraceSamples(file, layout, i, samples), 8);
                const QJsonArray expected = traces[i].toArray();
                for (qint64 k = 0; k < 8; ++k)
                    EXPECT_EQ(samples[std::size_t(k)], expected[k].toDouble()) << "sample " << k;
            }
            EXPECT_TRUE(prompts.records.empty());
        }
    }
}

// A pile recorded at 40 µs and written by a script elsewhere, whose writer leaves the original
// recording's interval at 1000 µs: measured by the command line as 12 m (not 25 times that) in every
// format and byte order, and `headers` says that the interval fields disagree. (segyio writes the
// 1- and 2-byte samples of a little-endian file in swapped groups of four bytes, so its pile in those
// two is not a pile; the test above reads such files as segyio does.)
TEST(SegyioInterop, APileWrittenElsewhereMeasuresRight) {
    QTemporaryDir dir;
    for (const char* endian : {"big", "little"}) {
        for (const int format : {1, 2, 3, 5, 8}) {
            if (QByteArray(endian) == "little" && (format == 3 || format == 8))
                continue;
            SCOPED_TRACE(::testing::Message() << endian << " format " << format);
            const QString path = dir.filePath(QString("pile-%1-%2.sgy").arg(endian).arg(format));
            const QJsonObject seen = RunSegyio({"pile", path, endian, QString::number(format)});
            ASSERT_EQ(seen["interval"].toInt(), 40);

            const CliRun measure = Cli({"measure", "--velocity", "4000", "--json", path});
            ASSERT_EQ(measure.exitCode, 0) << measure.err.toStdString();
            const QJsonObject result = QJsonDocument::fromJson(measure.out.toUtf8()).object();
            EXPECT_EQ(result["sample_interval_us"].toInt(), 40);
            EXPECT_EQ(result["samples"].toInt(), 1024);
            const QJsonArray traces = result["traces"].toArray();
            ASSERT_EQ(traces.size(), 2);
            for (const QJsonValue& trace : traces) {
                EXPECT_EQ(trace["reflection_index"].toInt(), 150);
                EXPECT_NEAR(trace["length_m"].toDouble(), 12.0, 1e-9);
            }

            const CliRun headers = Cli({"headers", path});
            ASSERT_EQ(headers.exitCode, 0) << headers.err.toStdString();
            EXPECT_TRUE(
                headers.out.contains("Note: Шаг дискретизации в заголовках различается: на ленте 40 мкс, "
                                     "на полевой ленте 1000 мкс"))
                << headers.out.toStdString();
            EXPECT_TRUE(headers.out.startsWith("Textual header:\nC 1 DATE"));
        }
    }
}

} // namespace
