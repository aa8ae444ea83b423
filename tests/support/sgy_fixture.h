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
    // Raw 32-bit sample words per trace (integers, or float bit patterns for format 5).
    std::vector<std::vector<quint32>> traces;
    QByteArray textual = QByteArray("fixture");

    // Traces of sample values: integers for format 2, float bit patterns for any other format; the
    // sample count is that of the first trace, the textual header blank.
    static SgyFixture OfSamples(const std::vector<std::vector<double>>& samples, quint16 format = 5,
                                quint16 intervalUs = 100);

    QByteArray build() const;
    // build() written to a file; false when it could not be written whole.
    bool write(const QString& path) const;

private:
    void put16(QByteArray& out, qsizetype at, quint16 v) const;
    void put32(QByteArray& out, qsizetype at, quint32 v) const;
};

inline quint32 FloatBits(float f) {
    return std::bit_cast<quint32>(f);
}

} // namespace zarno::testing
