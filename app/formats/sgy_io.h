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

#include <QByteArrayView>
#include <QString>

#include <span>
#include <vector>

class QIODevice;

namespace zarno {

class Prompts;

inline constexpr const char* kTextSGYFormatError = "Ошибка в формате SGY файла!";

enum class SGYByteOrder { Big, Little, Unknown };
// Looks at bytes 24 and 25 (the format code): a 2 in byte 25 means big-endian, a 2 in byte 24
// little-endian, then the same for 5; anything else is unknown.
SGYByteOrder DetectSGYByteOrder(std::span<const quint8, kSGYBinaryHeaderSize> bytes);

enum SGYBinaryReadResult : int {
    kSGYBinaryRead = 0,
    kSGYBinaryBadFormat = -1, // told with "Ошибка в формате SGY файла!"
};
// Reads 400 bytes, detects the byte order, gives it in littleEndian and fills the table fields of
// header. On a bad format the header and littleEndian are left as they were. Bytes missing at the
// end of a short file read as zero.
SGYBinaryReadResult ReadSGYBinaryHeader(QIODevice& file, SGYBinaryHeader& header, bool& littleEndian, Prompts& prompts);

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

// File offset of trace traceIndex's header when every trace has samplesPerTrace samples.
constexpr qint64 SGYTraceOffset(qint64 samplesPerTrace, qint64 traceIndex) {
    return kSGYFirstTraceOffset + traceIndex * (kSGYTraceHeaderSize + kSGYSampleSize * samplesPerTrace);
}
inline qint64 SGYTraceOffset(const SGYBinaryHeader& header, qint64 traceIndex) {
    return SGYTraceOffset(header.samplesPerTrace, traceIndex);
}
// Size of a file of traces traces of samplesPerTrace samples each.
constexpr qint64 SGYFileSize(qint64 samplesPerTrace, qint64 traces) {
    return SGYTraceOffset(samplesPerTrace, traces);
}

// One 4-byte sample: format 2 as a 32-bit integer, format 5 as an IEEE float; any other format has
// no value the program understands and gives 0.
double DecodeSGYSample(const quint8* bytes, quint16 formatCode, bool littleEndian);

// Reads the samplesPerTrace samples of trace traceIndex (one read) in the file's byte order.
// samples gets exactly samplesPerTrace values; those past the end of the file are 0. Returns how many
// samples the file really holds for this trace.
qint64 ReadSGYTraceSamples(QIODevice& file, const SGYBinaryHeader& header, bool littleEndian,
                           qint64 traceIndex, std::vector<double>& samples);

// The textual header as shown: up to its first NUL, at most 3200 characters, 8-bit text.
QString SGYTextualHeaderText(QByteArrayView block);

} // namespace zarno
