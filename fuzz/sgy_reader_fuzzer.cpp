// The SEG-Y reader on arbitrary files: headers, the dump rows and the samples of the first traces,
// whatever the binary header claims and however short the file is.

#include "app/formats/sgy_io.h"
#include "tests/support/recording_prompts.h"

#include <QBuffer>
#include <QtEndian>

#include <cstdint>
#include <cstdlib>

using namespace zarno;

namespace {

// Random bytes seldom hold a format code at bytes 3224-3225, so an input starting with an odd byte
// gives the binary header's trace count, ns and format bytes (in either position) and the bytes
// after the headers; any other input is taken as a whole file.
QByteArray File(const uint8_t* data, size_t size) {
    if (size < 8 || data[0] % 2 == 0)
        return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
    QByteArray file(3600, ' ');
    file.replace(3200, 400, QByteArray(400, '\0'));
    file[3200 + 12] = char(data[1] % 8);
    file[3200 + 13] = char(data[1] % 8);
    file[3200 + 20] = char(data[2]);
    file[3200 + 21] = char(data[3] % 4);
    file[3200 + 24] = char(data[4] % 8);
    file[3200 + 25] = char(data[5] % 8);
    return file + QByteArray(reinterpret_cast<const char*>(data + 8), qsizetype(size - 8));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes = File(data, size);
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    testing::RecordingPrompts prompts;
    const QString text = SGYTextualHeaderText(file.read(kSGYTextualHeaderSize));
    if (text.size() > kSGYTextualHeaderSize)
        std::abort();
    SGYBinaryHeader binary;
    bool little = false;
    if (!file.seek(qMin<qint64>(kSGYBinaryHeaderOffset, file.size())) ||
        ReadSGYBinaryHeader(file, binary, little, prompts) != kSGYBinaryRead)
        return 0;
    if (SGYBinaryHeaderRows(binary).size() != 12)
        std::abort();
    const qint64 traces = qMin<qint64>(binary.tracesPerRecord, 8);
    for (qint64 i = 0; i < traces; ++i) {
        const qint64 at = SGYTraceOffset(binary, i);
        SGYTraceHeader trace;
        if (at <= file.size() && file.seek(at)) {
            const SGYTraceReadResult complete = ReadSGYTraceHeader(file, trace, little);
            if (complete != (at + kSGYTraceHeaderSize <= file.size() ? kSGYTraceRead : kSGYTraceCutShort))
                std::abort();
            if (SGYTraceHeaderRows(trace).size() != 42)
                std::abort();
        }
        std::vector<double> samples;
        const qint64 present = ReadSGYTraceSamples(file, binary, little, i, samples);
        if (qint64(samples.size()) != binary.samplesPerTrace || present < 0 ||
            present > binary.samplesPerTrace)
            std::abort();
    }
    return 0;
}
