#pragma once
// Small SEG-Y files built byte by byte, in either byte order, without the program's own encoder, so
// that the reader's tests do not lean on the writer they check, and every other test gets its
// recordings the same way.

#include <QByteArray>
#include <QString>

#include <bit>
#include <vector>

namespace zarno::testing {

struct SgyFixture {
    bool littleEndian = false;
    quint16 format = 2;
    quint16 samplesPerTrace = 3;
    quint16 interval = 125; // µs
    // Raw sample words per trace, stored in the format's width (integers, or the bit patterns of
    // floats for formats 1, 5 and 6).
    std::vector<std::vector<quint64>> traces;
    QByteArray textual = QByteArray("fixture");

    // Traces of sample values: integers for format 2, float bit patterns for any other format; the
    // sample count is that of the first trace, the textual header blank.
    static SgyFixture OfSamples(const std::vector<std::vector<double>>& samples, quint16 format = 5,
                                quint16 intervalUs = 100);

    // Bytes per sample, written out here rather than taken from the reader's table.
    int width() const;

    QByteArray build() const;
    // build() written to a file; false when it could not be written whole.
    bool write(const QString& path) const;

private:
    void put16(QByteArray& out, qsizetype at, quint16 v) const;
    void put32(QByteArray& out, qsizetype at, quint32 v) const;
    void putSample(QByteArray& out, qsizetype at, quint64 v) const;
};

// A pile recording's samples: a half-sine blow of 12 samples at sample 20, scaled by scale, and its
// reflection lag samples later at 0.4 of it.
std::vector<double> HalfSinePile(std::size_t ns, std::size_t lag, double scale);

inline quint32 FloatBits(float f) {
    return std::bit_cast<quint32>(f);
}
inline quint64 DoubleBits(double d) {
    return std::bit_cast<quint64>(d);
}

} // namespace zarno::testing
