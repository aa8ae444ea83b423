#pragma once
// Small DDB recordings for the conversion tests.

#include "app/formats/ddb_header.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <cstring>

namespace zarno::testing {

inline DDBHeader MakeDDBHeader(quint16 channels, qint32 ns, quint16 frequency = 8000, quint16 unit = 0) {
    DDBHeader h;
    std::memcpy(h.ident, "PILE 7", 6);
    h.profile = 0xBEEF;
    h.year = 2005;
    h.month = 4;
    h.day = 4;
    h.hour = 11;
    h.minute = 3;
    h.second = 38;
    h.milliseconds = 120;
    h.sampleRate = frequency;
    h.firstGain = 11;
    h.otherGain = 22;
    h.channels = channels;
    h.samplesPerChannel = ns;
    h.formatCode = 2;
    h.frequencyUnit = unit;
    return h;
}

// Data word w of a test recording: distinct bytes, so that a swapped or misplaced word shows.
inline quint32 TestWord(qint64 w) {
    return 0x01020304u + quint32(w) * 0x00010101u;
}

// Header followed by words data words (TestWord(0), TestWord(1), ...), then extraBytes stray bytes.
inline QByteArray MakeDDB(const DDBHeader& header, qint64 words, qint64 extraBytes = 0) {
    const auto head = EncodeDDBHeader(header);
    QByteArray out(reinterpret_cast<const char*>(head.data()), qsizetype(head.size()));
    for (qint64 w = 0; w < words; ++w) {
        uchar word[4];
        qToLittleEndian(TestWord(w), word);
        out.append(reinterpret_cast<const char*>(word), 4);
    }
    out.append(QByteArray(qsizetype(extraBytes), '\x5A'));
    return out;
}

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace zarno::testing
