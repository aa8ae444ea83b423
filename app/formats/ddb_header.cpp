#include "app/formats/ddb_header.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace zarno {

namespace {

// Reads and writes the header's fields in file order; one list for both directions, so that the two
// can never disagree on an offset.
template <typename Io> void VisitFields(Io& io) {
    io.bytes(0, io.h.ident, kDDBIdentSize);
    io.u16(36, io.h.unused36);
    io.u16(38, io.h.profile);
    io.u16(40, io.h.unused40);
    io.u16(42, io.h.unused42);
    io.u16(44, io.h.year);
    io.u16(46, io.h.month);
    io.u16(48, io.h.day);
    io.u16(50, io.h.hour);
    io.u16(52, io.h.minute);
    io.u16(54, io.h.second);
    io.u16(56, io.h.milliseconds);
    io.u16(58, io.h.sampleRate);
    io.u16(60, io.h.firstGain);
    io.u16(62, io.h.otherGain);
    io.u16(64, io.h.channels);
    io.i32(66, io.h.samplesPerChannel);
    io.u16(70, io.h.formatCode);
    io.u16(72, io.h.unused72);
    io.u16(74, io.h.unused74);
    io.u16(76, io.h.unused76);
    io.bytes(78, io.h.unused78, sizeof io.h.unused78);
    io.u16(92, io.h.frequencyUnit);
    io.bytes(94, io.h.unused94, sizeof io.h.unused94);
}

struct Reader {
    const quint8* in;
    DDBHeader h;
    void bytes(int at, void* field, std::size_t size) { std::memcpy(field, in + at, size); }
    void u16(int at, quint16& field) { field = qFromLittleEndian<quint16>(in + at); }
    void i32(int at, qint32& field) { field = qFromLittleEndian<qint32>(in + at); }
};

struct Writer {
    quint8* out;
    const DDBHeader& h;
    void bytes(int at, const void* field, std::size_t size) { std::memcpy(out + at, field, size); }
    void u16(int at, quint16 field) { qToLittleEndian(field, out + at); }
    void i32(int at, qint32 field) { qToLittleEndian(field, out + at); }
};

} // namespace

DDBHeader ParseDDBHeader(QByteArrayView block) {
    std::array<quint8, kDDBHeaderSize> padded{};
    if (!block.isEmpty())
        std::memcpy(padded.data(), block.data(),
                    static_cast<std::size_t>(qMin(block.size(), kDDBHeaderSize)));
    Reader reader{padded.data(), {}};
    VisitFields(reader);
    return reader.h;
}

std::array<quint8, kDDBHeaderSize> EncodeDDBHeader(const DDBHeader& header) {
    std::array<quint8, kDDBHeaderSize> bytes{};
    Writer writer{bytes.data(), header};
    VisitFields(writer);
    return bytes;
}

QByteArrayView DDBIdentText(const DDBHeader& header) {
    const void* nul = std::memchr(header.ident, 0, kDDBIdentSize);
    const qsizetype length = nul ? static_cast<const char*>(nul) - header.ident : kDDBIdentSize;
    return QByteArrayView(header.ident, length);
}

quint16 DDBSampleInterval(quint16 frequency, quint16 frequencyUnit) {
    if (frequency == 0)
        return 0;
    const double perUnit = frequencyUnit == 0 ? 1000000.0 : 1000.0;
    const auto micros = static_cast<qint64>(std::trunc(perUnit / frequency));
    return static_cast<quint16>(micros & 0xFFFF);
}

DDBHeaderCheck CheckDDBHeader(const DDBHeader& header, qint64 headerBytes) {
    if (headerBytes < kDDBHeaderSize)
        return DDBHeaderCheck::Incomplete;
    if (header.channels == 0)
        return DDBHeaderCheck::NoChannels;
    if (header.samplesPerChannel <= 0 || header.samplesPerChannel > kDDBMaxSamplesPerChannel)
        return DDBHeaderCheck::BadSampleCount;
    // A frequency in kHz above 1000 would give an interval of 0 µs, which no reader can use.
    if (header.sampleRate == 0 || DDBSampleInterval(header.sampleRate, header.frequencyUnit) == 0)
        return DDBHeaderCheck::BadFrequency;
    // The instrument records 32-bit integers (2) or IEEE floats (5), and the conversion copies them
    // word for word: a file under any other code would be taken for samples they are not.
    if (header.formatCode != 2 && header.formatCode != 5)
        return DDBHeaderCheck::BadFormatCode;
    return DDBHeaderCheck::Ok;
}

qint64 DDBDataBytes(const DDBHeader& header) {
    return qint64{header.channels} * qMax<qint64>(header.samplesPerChannel, 0) * kDDBWordSize;
}

bool DDBDataComplete(const DDBHeader& header, qint64 sourceBytes) {
    return sourceBytes - kDDBHeaderSize >= DDBDataBytes(header);
}

QString DDBCheckDetail(DDBHeaderCheck check, const DDBHeader& header, qint64 sourceBytes) {
    switch (check) {
    case DDBHeaderCheck::Ok:
        return {};
    case DDBHeaderCheck::Incomplete:
        return QStringLiteral("the file is shorter than its 512-byte header (%1 bytes)").arg(sourceBytes);
    case DDBHeaderCheck::NoChannels:
        return QStringLiteral("the header gives 0 channels");
    case DDBHeaderCheck::BadSampleCount:
        return QStringLiteral("the header gives %1 samples per channel (1 to 65535 can be converted)")
            .arg(header.samplesPerChannel);
    case DDBHeaderCheck::BadFrequency:
        return QStringLiteral("the header gives a sampling frequency of %1 %2, which has no whole sample "
                              "interval in microseconds")
            .arg(header.sampleRate)
            .arg(header.frequencyUnit == 0 ? "Hz" : "kHz");
    case DDBHeaderCheck::BadFormatCode:
        return QStringLiteral(
                   "the header gives sample format %1 (2, 32-bit integer, and 5, IEEE float, can be "
                   "converted)")
            .arg(header.formatCode);
    case DDBHeaderCheck::ShortData:
        return QStringLiteral(
                   "the header gives %1 channels x %2 samples (%3 bytes of data), the file holds %4")
            .arg(header.channels)
            .arg(header.samplesPerChannel)
            .arg(DDBDataBytes(header))
            .arg(qMax<qint64>(sourceBytes - kDDBHeaderSize, 0));
    }
    return {};
}

qint64 DDBBlockCount(qint64 fileSize) {
    return fileSize / kDDBBlockSize + (fileSize % kDDBBlockSize != 0 ? 1 : 0);
}

} // namespace zarno
