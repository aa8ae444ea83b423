#pragma once
// The SEG-Y headers as the program holds them in memory, and the one table of their fields.
//
// Each record keeps every field at the same offset as in the file, in host byte order, so that one
// table of (offset, width, signedness, label) drives the reader, the writer and the header dump. Byte
// order is dealt with only at the edge: EncodeSGY*/DecodeSGY* turn a record into file bytes and back.

#include <QString>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <span>
#include <vector>

namespace zarno {

inline constexpr qint64 kSGYTextualHeaderSize = 3200;
inline constexpr qint64 kSGYBinaryHeaderSize = 400;
inline constexpr qint64 kSGYTraceHeaderSize = 240;
// The width of the samples the program writes (formats 2 and 5); files from elsewhere may use
// other widths (SGYSampleBytes).
inline constexpr qint64 kSGYSampleSize = 4;
// Where the binary header and the first trace begin.
inline constexpr qint64 kSGYBinaryHeaderOffset = kSGYTextualHeaderSize;
inline constexpr qint64 kSGYFirstTraceOffset = kSGYTextualHeaderSize + kSGYBinaryHeaderSize;

// Sample format codes. The program writes 2 and 5; it reads every one of these.
inline constexpr quint16 kSGYFormatIBMFloat32 = 1;
inline constexpr quint16 kSGYFormatInt32 = 2;
inline constexpr quint16 kSGYFormatInt16 = 3;
inline constexpr quint16 kSGYFormatFloat32 = 5;
inline constexpr quint16 kSGYFormatFloat64 = 6;
inline constexpr quint16 kSGYFormatInt8 = 8;
inline constexpr quint16 kSGYFormatUInt32 = 10;
inline constexpr quint16 kSGYFormatUInt16 = 11;
inline constexpr quint16 kSGYFormatUInt8 = 16;

// Bytes per sample of a format code; 0 for a code the program cannot decode.
constexpr int SGYSampleBytes(quint16 formatCode) {
    switch (formatCode) {
    case kSGYFormatInt8:
    case kSGYFormatUInt8:
        return 1;
    case kSGYFormatInt16:
    case kSGYFormatUInt16:
        return 2;
    case kSGYFormatIBMFloat32:
    case kSGYFormatInt32:
    case kSGYFormatFloat32:
    case kSGYFormatUInt32:
        return 4;
    case kSGYFormatFloat64:
        return 8;
    default:
        return 0;
    }
}

// Binary header (file bytes 3201-3600). Only the fields of SGYBinaryHeaderFields() are ever read or
// written; the other bytes keep whatever the record held.
struct SGYBinaryHeader {
    qint32 jobId = 0;                   // 0
    qint32 lineNumber = 0;              // 4
    qint32 reelNumber = 0;              // 8
    quint16 tracesPerRecord = 0;        // 12
    quint16 auxTracesPerRecord = 0;     // 14
    quint16 sampleInterval = 0;         // 16, µs
    quint16 fieldSampleInterval = 0;    // 18, µs; the interval the viewer uses
    quint16 samplesPerTrace = 0;        // 20
    quint16 fieldSamplesPerTrace = 0;   // 22
    quint16 formatCode = 0;             // 24
    quint16 cdpFold = 0;                // 26
    quint16 sortingCode = 0;            // 28
    quint16 verticalSumCode = 0;        // 30
    quint8 unused32[22] = {};           // 32-53
    quint16 measurementSystem = 0;      // 54
    quint16 impulsePolarity = 0;        // 56
    quint8 unused58[10] = {};           // 58-67
    qint32 extendedSamplesPerTrace = 0; // 68, revision 2 and later; overrides offset 20 when set
    quint8 unused72[228] = {};          // 72-299
    quint16 formatRevision = 0;         // 300: major revision in the first byte, minor in the second
    quint16 fixedLengthFlag = 0;        // 302
    quint16 extendedTextualHeaders = 0; // 304
    quint8 unused306[94] = {};          // 306-399
};

// The first 122 bytes of a trace header (SEG-Y bytes 1-122); the rest of the 240 is never read.
struct SGYTraceHeader {
    qint32 sequenceInLine = 0;         // 0
    qint32 sequenceInReel = 0;         // 4
    qint32 fieldRecord = 0;            // 8
    qint32 traceInFieldRecord = 0;     // 12
    qint32 sourcePoint = 0;            // 16
    qint32 cdpEnsemble = 0;            // 20
    qint32 traceInCdp = 0;             // 24
    quint16 traceId = 0;               // 28
    quint16 verticalSum = 0;           // 30
    quint16 horizontalStack = 0;       // 32
    quint16 dataUse = 0;               // 34
    qint32 sourceReceiverDistance = 0; // 36
    qint32 receiverElevation = 0;      // 40
    qint32 sourceElevation = 0;        // 44
    qint32 sourceDepth = 0;            // 48
    qint32 receiverDatum = 0;          // 52
    qint32 sourceDatum = 0;            // 56
    qint32 sourceWaterDepth = 0;       // 60
    qint32 groupWaterDepth = 0;        // 64
    quint16 elevationScalar = 0;       // 68
    quint16 coordinateScalar = 0;      // 70
    qint32 sourceX = 0;                // 72
    qint32 sourceY = 0;                // 76
    qint32 groupX = 0;                 // 80
    qint32 groupY = 0;                 // 84
    quint16 coordinateUnits = 0;       // 88
    quint16 weatheringVelocity = 0;    // 90
    quint16 subweatheringVelocity = 0; // 92
    quint16 sourceUphole = 0;          // 94
    quint16 groupUphole = 0;           // 96
    quint16 sourceStatic = 0;          // 98
    quint16 groupStatic = 0;           // 100
    quint16 totalStatic = 0;           // 102
    quint16 lagA = 0;                  // 104
    quint16 lagB = 0;                  // 106
    quint16 delayTime = 0;             // 108
    quint16 muteStart = 0;             // 110
    quint16 muteEnd = 0;               // 112
    quint16 sampleCount = 0;           // 114
    quint16 sampleInterval = 0;        // 116, µs
    quint16 gainType = 0;              // 118
    quint16 gainConstant = 0;          // 120
};

// One header field: where it sits, how wide it is, and its row label in the header dump (nullptr for
// the fields that are read but not shown).
struct SGYField {
    quint16 offset;
    quint8 width; // 2 or 4 bytes
    bool isSigned;
    const char* label; // UTF-8
};

// The 19 binary-header fields; the twelve with a label are the rows of the dump, in this order.
std::span<const SGYField> SGYBinaryHeaderFields();
// The 42 trace-header fields, in offset order; all are shown.
std::span<const SGYField> SGYTraceHeaderFields();

// A field's value in a record (32-bit fields signed, 16-bit fields unsigned), and setting it.
qint64 SGYFieldValue(const SGYBinaryHeader& header, const SGYField& field);
qint64 SGYFieldValue(const SGYTraceHeader& header, const SGYField& field);
void SetSGYFieldValue(SGYBinaryHeader& header, const SGYField& field, qint64 value);
void SetSGYFieldValue(SGYTraceHeader& header, const SGYField& field, qint64 value);

// File bytes of a header: every table field stored in the given byte order, every other byte zero.
std::array<quint8, kSGYBinaryHeaderSize> EncodeSGYBinaryHeader(const SGYBinaryHeader& header,
                                                               bool littleEndian = false);
std::array<quint8, kSGYTraceHeaderSize> EncodeSGYTraceHeader(const SGYTraceHeader& header,
                                                             bool littleEndian = false);
// Fills the table fields of a record from file bytes in the given byte order; other bytes of the
// record stay as they were.
void DecodeSGYBinaryHeader(std::span<const quint8, kSGYBinaryHeaderSize> bytes, bool littleEndian,
                           SGYBinaryHeader& header);
void DecodeSGYTraceHeader(std::span<const quint8, kSGYTraceHeaderSize> bytes, bool littleEndian,
                          SGYTraceHeader& header);

// One row of the header dump.
struct SGYHeaderRow {
    quint16 offset;
    QString label;
    qint64 value;
};
// The twelve binary-header rows and the 42 trace-header rows.
std::vector<SGYHeaderRow> SGYBinaryHeaderRows(const SGYBinaryHeader& header);
std::vector<SGYHeaderRow> SGYTraceHeaderRows(const SGYTraceHeader& header);

} // namespace zarno
