#pragma once
// Builds small SEG-Y files byte by byte, in either byte order, without the program's own encoder, so
// that reader tests do not lean on the writer they are meant to check.

#include <QByteArray>
#include <QtEndian>

#include <bit>
#include <vector>

namespace zarno::testing {

struct SgyFixture {
    bool littleEndian = false;
    quint16 format = 2;
    quint16 samplesPerTrace = 3;
    quint16 interval = 125;
    // Raw sample words per trace, stored in the format's width (integers, or the bit patterns of
    // floats for formats 1, 5 and 6).
    std::vector<std::vector<quint64>> traces;
    QByteArray textual = QByteArray("fixture");

    // Bytes per sample, written out here rather than taken from the reader's table.
    int width() const {
        switch (format) {
        case 8:
        case 16:
            return 1;
        case 3:
        case 11:
            return 2;
        case 6:
            return 8;
        default:
            return 4;
        }
    }

    QByteArray build() const {
        const qsizetype traceSize = 240 + width() * qsizetype(samplesPerTrace);
        QByteArray out(3600 + qsizetype(traces.size()) * traceSize, '\0');
        QByteArray text(3200, ' ');
        text.replace(0, textual.size(), textual);
        out.replace(0, 3200, text);
        put16(out, 3200 + 12, quint16(traces.size()));
        put16(out, 3200 + 16, interval);
        put16(out, 3200 + 18, interval);
        put16(out, 3200 + 20, samplesPerTrace);
        put16(out, 3200 + 22, samplesPerTrace);
        put16(out, 3200 + 24, format);
        for (qsizetype i = 0; i < qsizetype(traces.size()); ++i) {
            const qsizetype at = 3600 + i * traceSize;
            put32(out, at + 0, quint32(i + 1));
            put32(out, at + 4, quint32(i + 1));
            put32(out, at + 12, quint32(i + 1));
            put32(out, at + 36, quint32(-5 - i)); // a negative 32-bit field
            put16(out, at + 68, 0xFFFF);          // a 16-bit field with its high bit set
            put16(out, at + 88, 1);
            put16(out, at + 114, samplesPerTrace);
            put16(out, at + 116, interval);
            put16(out, at + 118, format);
            put16(out, at + 120, quint16(7 + i));
            const auto& words = traces[std::size_t(i)];
            for (qsizetype k = 0; k < qsizetype(words.size()) && k < samplesPerTrace; ++k)
                putSample(out, at + 240 + width() * k, words[std::size_t(k)]);
        }
        return out;
    }

    void put16(QByteArray& out, qsizetype at, quint16 v) const {
        auto* p = reinterpret_cast<uchar*>(out.data()) + at;
        littleEndian ? qToLittleEndian(v, p) : qToBigEndian(v, p);
    }
    void put32(QByteArray& out, qsizetype at, quint32 v) const {
        auto* p = reinterpret_cast<uchar*>(out.data()) + at;
        littleEndian ? qToLittleEndian(v, p) : qToBigEndian(v, p);
    }
    void putSample(QByteArray& out, qsizetype at, quint64 v) const {
        auto* p = reinterpret_cast<uchar*>(out.data()) + at;
        switch (width()) {
        case 1:
            *p = uchar(v);
            break;
        case 2:
            put16(out, at, quint16(v));
            break;
        case 8:
            littleEndian ? qToLittleEndian(v, p) : qToBigEndian(v, p);
            break;
        default:
            put32(out, at, quint32(v));
            break;
        }
    }
};

inline quint32 FloatBits(float f) {
    return std::bit_cast<quint32>(f);
}
inline quint64 DoubleBits(double d) {
    return std::bit_cast<quint64>(d);
}

} // namespace zarno::testing
