// The SEG-Y reader on arbitrary files: headers, the dump rows and the samples of the first traces,
// whatever the binary header claims and however short the file is.

#include "app/formats/sgy_io.h"
#include "tests/support/recording_prompts.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

using namespace zarno;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    testing::RecordingPrompts prompts;
    const QString text = SGYTextualHeaderText(file.read(kSGYTextualHeaderSize));
    if (text.size() > kSGYTextualHeaderSize)
        std::abort();
    SGYBinaryHeader binary;
    if (!file.seek(qMin<qint64>(kSGYBinaryHeaderOffset, file.size())) ||
        ReadSGYBinaryHeader(file, binary, prompts) != 0)
        return 0;
    if (SGYBinaryHeaderRows(binary).size() != 12)
        std::abort();
    const qint64 traces = qMin<qint64>(binary.tracesPerRecord, 8);
    for (qint64 i = 0; i < traces; ++i) {
        const qint64 at = SGYTraceOffset(binary, i);
        SGYTraceHeader trace;
        if (at <= file.size() && file.seek(at)) {
            const int complete = ReadSGYTraceHeader(file, trace);
            if (complete != (at + kSGYTraceHeaderSize <= file.size() ? 1 : 0))
                std::abort();
            if (SGYTraceHeaderRows(trace).size() != 42)
                std::abort();
        }
        std::vector<double> samples;
        const qint64 present = ReadSGYTraceSamples(file, binary, i, samples);
        if (qint64(samples.size()) != binary.samplesPerTrace || present < 0 ||
            present > binary.samplesPerTrace)
            std::abort();
    }
    return 0;
}
