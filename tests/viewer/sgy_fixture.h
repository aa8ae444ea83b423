#pragma once
// Small SEG-Y files for the viewer tests, composed with the format's own header encoders.

#include "app/formats/sgy_headers.h"

#include <QFile>
#include <QString>
#include <QtEndian>

#include <cstring>
#include <vector>

namespace zarno::testing {

struct SgyFixture {
    int intervalUs = 100;
    quint16 formatCode = kSGYFormatFloat32;
    bool littleEndian = false;
    std::vector<std::vector<double>> traces; // all of the same length
};

inline bool WriteSgy(const QString& path, const SgyFixture& f) {
    const int ns = f.traces.empty() ? 0 : int(f.traces.front().size());
    SGYBinaryHeader bin;
    bin.tracesPerRecord = quint16(f.traces.size());
    bin.sampleInterval = quint16(f.intervalUs);
    bin.fieldSampleInterval = quint16(f.intervalUs);
    bin.samplesPerTrace = quint16(ns);
    bin.fieldSamplesPerTrace = quint16(ns);
    bin.formatCode = f.formatCode;
    QByteArray bytes(kSGYTextualHeaderSize, ' ');
    const auto binBytes = EncodeSGYBinaryHeader(bin, f.littleEndian);
    bytes.append(reinterpret_cast<const char*>(binBytes.data()), qsizetype(binBytes.size()));
    for (std::size_t i = 0; i < f.traces.size(); ++i) {
        SGYTraceHeader th;
        th.sequenceInLine = th.sequenceInReel = th.traceInFieldRecord = qint32(i + 1);
        th.sampleCount = quint16(ns);
        th.sampleInterval = quint16(f.intervalUs);
        const auto thBytes = EncodeSGYTraceHeader(th, f.littleEndian);
        bytes.append(reinterpret_cast<const char*>(thBytes.data()), qsizetype(thBytes.size()));
        for (double v : f.traces[i]) {
            quint32 word;
            if (f.formatCode == kSGYFormatInt32) {
                word = quint32(qint32(v));
            } else {
                const float x = float(v);
                std::memcpy(&word, &x, sizeof word);
            }
            char b[4];
            if (f.littleEndian)
                qToLittleEndian(word, b);
            else
                qToBigEndian(word, b);
            bytes.append(b, 4);
        }
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace zarno::testing
