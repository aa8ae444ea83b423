#pragma once
// Where a SEG-Y file's traces lie and how to read them, resolved once from its headers.
//
// Files come from many writers, and they do not all fill the same fields. The sample interval is the
// standard field (binary header offset 16); a writer that leaves it 0 may still give the interval of
// the original recording (offset 18) or the trace header's (offset 116). The samples per trace are
// offset 20, revision 2's extended count (offset 68) when it is set, and the trace header's (offset
// 114) when both are 0. The program's own files carry the same values in every one of these fields.

#include "app/formats/sgy_headers.h"

#include <QString>
#include <QStringList>

namespace zarno {

struct SGYLayout {
    bool littleEndian = false;
    quint16 formatCode = 0;
    int sampleBytes = 0;
    qint64 samplesPerTrace = 0;
    int sampleIntervalUs = 0;
    qint64 traceCount = 0;
    qint64 firstTraceOffset = kSGYFirstTraceOffset; // after any extended textual headers

    qint64 TraceSize() const { return kSGYTraceHeaderSize + sampleBytes * samplesPerTrace; }
    // File offset of trace i's header (0-based), and of its first sample.
    qint64 TraceOffset(qint64 i) const { return firstTraceOffset + i * TraceSize(); }
    qint64 SamplesOffset(qint64 i) const { return TraceOffset(i) + kSGYTraceHeaderSize; }
    // The size of a file holding every trace the headers claim.
    qint64 FileSize() const { return TraceOffset(traceCount); }
};

struct SGYLayoutResult {
    SGYLayout layout;
    // Why the file cannot be read, said on the second line of the format message; empty when it can.
    QString refusal;
    // Header fields that disagree, and the value taken.
    QStringList notes;
};

// Where the first trace header lies: after the binary header and, from revision 1 on, the extended
// textual headers the binary header counts.
qint64 SGYFirstTraceOffset(const SGYBinaryHeader& binary, bool littleEndian);

// The layout from a binary header read in the file's byte order and the file's first trace header
// (all zeros when the file has none).
SGYLayoutResult ResolveSGYLayout(const SGYBinaryHeader& binary, bool littleEndian,
                                 const SGYTraceHeader& firstTrace);

// The second line of the format message for a format code the program cannot decode.
QString UnknownSGYFormatText(quint32 formatCode);

} // namespace zarno
