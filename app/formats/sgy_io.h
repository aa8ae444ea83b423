#pragma once
// Reading and writing SEG-Y headers and samples on an open file at its current position.
//
// The program writes big-endian files. Its reader also takes little-endian ones, telling the two
// apart by where the sample format code sits. The order belongs to the file: the binary-header read
// hands it to its caller, who passes it to every trace-header and sample read of that same file, so
// that files open side by side (several viewers, the header viewer) never decode with each other's
// order.

#include "app/formats/ddb_header.h"
#include "app/formats/sgy_headers.h"
#include "app/formats/sgy_layout.h"
#include "app/formats/sgy_samples.h"
#include "app/formats/sgy_text.h"
#include "app/i18n/texts.h"

#include <QString>

#include <span>
#include <vector>

class QIODevice;

namespace zarno {

class Prompts;

inline constexpr const char* kTextSGYFormatError = QT_TRANSLATE_NOOP("zarno", "Ошибка в формате SGY файла!");

// "Ошибка в формате SGY файла!" with the stop icon, and the reason on a second line when one is given.
void TellSGYFormatError(Prompts& prompts, const QString& reason);

enum class SGYByteOrder { Big, Little, Unknown };
// Looks at bytes 24 and 25 (the format code): a 2 in byte 25 means big-endian, a 2 in byte 24
// little-endian, then the same for 5. Then any other code the program decodes: in byte 25 with byte
// 24 zero, big-endian; in byte 24 with byte 25 zero, little-endian. Anything else is unknown.
SGYByteOrder DetectSGYByteOrder(std::span<const quint8, kSGYBinaryHeaderSize> bytes);

enum SGYBinaryReadResult : int {
    kSGYBinaryRead = 0,
    kSGYBinaryBadFormat = -1, // told with "Ошибка в формате SGY файла!" and the code on a second line
};
// Reads 400 bytes, detects the byte order, gives it in littleEndian and fills the table fields of
// header. A format code the program cannot decode is a bad format; then the header and
// littleEndian are left as they were. Bytes missing at the end of a short file read as zero.
SGYBinaryReadResult ReadSGYBinaryHeader(QIODevice& file, SGYBinaryHeader& header, bool& littleEndian,
                                        Prompts& prompts);

enum SGYTraceReadResult : int {
    kSGYTraceRead = 1,
    kSGYTraceCutShort = 0, // the file ended first; the missing bytes read as zero
};
// Reads 240 bytes and fills the 42 fields in the file's byte order (a short file's missing bytes
// never read as the previous trace's values).
SGYTraceReadResult ReadSGYTraceHeader(QIODevice& file, SGYTraceHeader& header, bool littleEndian);

// The headers written for a DDB recording whose sampleRate already holds the interval in µs.
SGYBinaryHeader MakeSGYBinaryHeader(const DDBHeader& ddb);
SGYTraceHeader MakeSGYTraceHeader(const DDBHeader& ddb, qint64 traceIndex);

enum SGYWriteResult : int {
    kSGYWritten = 1,
    kSGYWriteFailed = 0,
};
// Write the 400-byte binary header or the 240-byte header of trace traceIndex (0-based), big-endian.
SGYWriteResult WriteSGYBinaryHeader(QIODevice& file, const DDBHeader& ddb);
SGYWriteResult WriteSGYTraceHeader(QIODevice& file, const DDBHeader& ddb, qint64 traceIndex);

// File offset of trace traceIndex's header in a file the program writes (4-byte samples, every
// trace of samplesPerTrace samples). Files from elsewhere are read through their SGYLayout.
constexpr qint64 SGYTraceOffset(qint64 samplesPerTrace, qint64 traceIndex) {
    return kSGYFirstTraceOffset + traceIndex * (kSGYTraceHeaderSize + kSGYSampleSize * samplesPerTrace);
}
// Size of a file of traces traces of samplesPerTrace samples each, as the program writes it.
constexpr qint64 SGYFileSize(qint64 samplesPerTrace, qint64 traces) {
    return SGYTraceOffset(samplesPerTrace, traces);
}

// Reads the samplesPerTrace samples of trace traceIndex (one read) as the layout says.
// samples gets exactly samplesPerTrace values; those past the end of the file are 0. Returns how many
// samples the file really holds for this trace.
qint64 ReadSGYTraceSamples(QIODevice& file, const SGYLayout& layout, qint64 traceIndex,
                           std::vector<double>& samples);

} // namespace zarno
