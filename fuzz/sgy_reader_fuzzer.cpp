// The SEG-Y reader on arbitrary files: headers, the dump rows and the samples of the first traces,
// whatever the binary header claims and however short the file is.

#include "app/formats/sgy_file.h"
#include "app/formats/sgy_io.h"
#include "tests/support/recording_prompts.h"

#include <QBuffer>
#include <QtEndian>

#include <cstdint>
#include <cstdlib>

using namespace zarno;

namespace {

// Random bytes seldom hold a format code at bytes 3224-3225, so an input starting with an odd byte
// gives the binary header's trace count, ns and format bytes (in either position), the interval,
// the revision with its extended counts, and the bytes after the headers; any other input is taken
// as a whole file.
QByteArray File(const uint8_t* data, size_t size) {
    if (size < 8 || data[0] % 2 == 0)
        return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
    QByteArray file(3600, ' ');
    file.replace(3200, 400, QByteArray(400, '\0'));
    file[3200 + 12] = char(data[1] % 8);
    file[3200 + 13] = char(data[1] % 8);
    file[3200 + 20] = char(data[2]);
    file[3200 + 21] = char(data[3] % 4);
    file[3200 + 24] = char(data[4] % 17);
    file[3200 + 25] = char(data[5] % 17);
    file[3200 + 17] = char(data[6] % 4);      // the interval, 0 for none
    file[3200 + 70] = char(data[6] / 4 % 4);  // revision 2's extended sample count
    file[3200 + 300] = char(data[7] % 3);     // the revision
    file[3200 + 305] = char(data[7] / 3 % 3); // extended textual headers
    return file + QByteArray(reinterpret_cast<const char*>(data + 8), qsizetype(size - 8));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes = File(data, size);
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    testing::RecordingPrompts prompts;
    const QByteArray textual = file.read(kSGYTextualHeaderSize);
    if (SGYTextualHeaderText(textual).size() > kSGYTextualHeaderSize ||
        SGYTextualHeaderLines(textual).join(QString()).size() > kSGYTextualHeaderSize)
        std::abort();
    SGYFileHeaders headers;
    if (!ReadSGYFileHeaders(file, headers, prompts))
        return 0;
    if (SGYBinaryHeaderRows(headers.binary).size() != 12)
        std::abort();
    const SGYLayout& layout = headers.resolved.layout;
    const bool little = layout.littleEndian;
    const bool whole = headers.resolved.refusal.isEmpty() && SGYTracesRefusal(file, layout).isEmpty();
    const qint64 traces = qMin<qint64>(layout.traceCount, 8);
    for (qint64 i = 0; i < traces; ++i) {
        const qint64 at = layout.TraceOffset(i);
        SGYTraceHeader trace;
        if (at <= file.size() && file.seek(at)) {
            const SGYTraceReadResult complete = ReadSGYTraceHeader(file, trace, little);
            if (complete != (at + kSGYTraceHeaderSize <= file.size() ? kSGYTraceRead : kSGYTraceCutShort))
                std::abort();
            if (SGYTraceHeaderRows(trace).size() != 42)
                std::abort();
        }
        // Samples are read only from a file that holds them all, as the viewer's load does.
        if (!whole)
            continue;
        std::vector<double> samples;
        const qint64 present = ReadSGYTraceSamples(file, layout, i, samples);
        if (qint64(samples.size()) != layout.samplesPerTrace || present != layout.samplesPerTrace)
            std::abort();
    }
    return 0;
}
