#include "app/formats/sgy_io.h"

#include "app/seams/prompts.h"

#include <QIODevice>

#include <algorithm>
#include <array>
#include <cstring>

namespace zarno {

namespace {

constexpr int kFormatLowByte = 24;  // byte 24 of the binary header: low byte of a little-endian code
constexpr int kFormatHighByte = 25; // byte 25: low byte of a big-endian code

// Reads up to size bytes; whatever the file does not hold stays zero. Returns the bytes read.
qint64 ReadPadded(QIODevice& file, quint8* out, qint64 size) {
    std::memset(out, 0, static_cast<std::size_t>(size));
    qint64 got = 0;
    while (got < size) {
        const qint64 n = file.read(reinterpret_cast<char*>(out) + got, size - got);
        if (n <= 0)
            break;
        got += n;
    }
    return got;
}

template <std::size_t N> bool WriteAll(QIODevice& file, const std::array<quint8, N>& bytes) {
    const auto size = static_cast<qint64>(N);
    return file.write(reinterpret_cast<const char*>(bytes.data()), size) == size;
}

} // namespace

void TellSGYFormatError(Prompts& prompts, const QString& reason) {
    QString text = Translated(kTextSGYFormatError);
    if (!reason.isEmpty())
        text += QLatin1Char('\n') + reason;
    prompts.message(text, QString(), PromptIcon::Stop);
}

SGYByteOrder DetectSGYByteOrder(std::span<const quint8, kSGYBinaryHeaderSize> bytes) {
    // The program's own codes first, by the rule its files have always been read with, which looks
    // at one byte only.
    for (const quint16 code : {kSGYFormatInt32, kSGYFormatFloat32}) {
        if (bytes[kFormatHighByte] == code)
            return SGYByteOrder::Big;
        if (bytes[kFormatLowByte] == code)
            return SGYByteOrder::Little;
    }
    // Every other code the program decodes is below 256, so one byte holds it and the other is 0.
    for (const quint16 code : {kSGYFormatIBMFloat32, kSGYFormatInt16, kSGYFormatFloat64, kSGYFormatInt8,
                               kSGYFormatUInt32, kSGYFormatUInt16, kSGYFormatUInt8}) {
        if (bytes[kFormatHighByte] == code && bytes[kFormatLowByte] == 0)
            return SGYByteOrder::Big;
        if (bytes[kFormatLowByte] == code && bytes[kFormatHighByte] == 0)
            return SGYByteOrder::Little;
    }
    return SGYByteOrder::Unknown;
}

SGYBinaryReadResult ReadSGYBinaryHeader(QIODevice& file, SGYBinaryHeader& header, bool& littleEndian,
                                        Prompts& prompts) {
    std::array<quint8, kSGYBinaryHeaderSize> bytes;
    ReadPadded(file, bytes.data(), kSGYBinaryHeaderSize);
    const SGYByteOrder order = DetectSGYByteOrder(bytes);
    // With no order found, a code held in one byte is named as that byte; one in two bytes as the
    // standard's big-endian order reads it.
    const bool little =
        order == SGYByteOrder::Little ||
        (order == SGYByteOrder::Unknown && bytes[kFormatHighByte] == 0 && bytes[kFormatLowByte] != 0);
    SGYBinaryHeader decoded = header;
    DecodeSGYBinaryHeader(bytes, little, decoded);
    if (order == SGYByteOrder::Unknown || SGYSampleBytes(decoded.formatCode) == 0) {
        TellSGYFormatError(prompts, UnknownSGYFormatText(decoded.formatCode));
        return kSGYBinaryBadFormat;
    }
    littleEndian = little;
    header = decoded;
    return kSGYBinaryRead;
}

SGYTraceReadResult ReadSGYTraceHeader(QIODevice& file, SGYTraceHeader& header, bool littleEndian) {
    std::array<quint8, kSGYTraceHeaderSize> bytes;
    const qint64 got = ReadPadded(file, bytes.data(), kSGYTraceHeaderSize);
    DecodeSGYTraceHeader(bytes, littleEndian, header);
    return got == kSGYTraceHeaderSize ? kSGYTraceRead : kSGYTraceCutShort;
}

SGYBinaryHeader MakeSGYBinaryHeader(const DDBHeader& ddb) {
    SGYBinaryHeader h;
    h.lineNumber = ddb.profile;
    h.tracesPerRecord = ddb.channels;
    h.sampleInterval = ddb.sampleRate;
    h.fieldSampleInterval = ddb.sampleRate;
    h.samplesPerTrace = static_cast<quint16>(ddb.samplesPerChannel);
    h.fieldSamplesPerTrace = h.samplesPerTrace;
    h.formatCode = ddb.formatCode;
    return h;
}

SGYTraceHeader MakeSGYTraceHeader(const DDBHeader& ddb, qint64 traceIndex) {
    SGYTraceHeader h;
    const auto number = static_cast<qint32>(traceIndex + 1);
    h.sequenceInLine = number;
    h.sequenceInReel = number;
    h.traceInFieldRecord = number;
    h.coordinateUnits = 1;
    h.sampleCount = static_cast<quint16>(ddb.samplesPerChannel);
    h.sampleInterval = ddb.sampleRate;
    h.gainType = ddb.formatCode;
    h.gainConstant = traceIndex == 0 ? ddb.firstGain : ddb.otherGain;
    return h;
}

SGYWriteResult WriteSGYBinaryHeader(QIODevice& file, const DDBHeader& ddb) {
    return WriteAll(file, EncodeSGYBinaryHeader(MakeSGYBinaryHeader(ddb))) ? kSGYWritten : kSGYWriteFailed;
}

SGYWriteResult WriteSGYTraceHeader(QIODevice& file, const DDBHeader& ddb, qint64 traceIndex) {
    return WriteAll(file, EncodeSGYTraceHeader(MakeSGYTraceHeader(ddb, traceIndex))) ? kSGYWritten
                                                                                     : kSGYWriteFailed;
}

qint64 ReadSGYTraceSamples(QIODevice& file, const SGYLayout& layout, qint64 traceIndex,
                           std::vector<double>& samples) {
    const qint64 ns = layout.samplesPerTrace;
    const qint64 width = layout.sampleBytes;
    samples.assign(static_cast<std::size_t>(std::max<qint64>(ns, 0)), 0.0);
    const qint64 at = layout.SamplesOffset(traceIndex);
    if (ns <= 0 || width == 0 || at >= file.size() || !file.seek(at))
        return 0;
    // Only the bytes the file holds are read, so a header claiming a huge trace costs no memory.
    const qint64 wanted = std::min(ns * width, file.size() - at);
    std::vector<quint8> bytes(static_cast<std::size_t>(wanted));
    const qint64 present = ReadPadded(file, bytes.data(), wanted) / width;
    for (qint64 k = 0; k < present; ++k)
        samples[static_cast<std::size_t>(k)] =
            DecodeSGYSample(bytes.data() + k * width, layout.formatCode, layout.littleEndian);
    return present;
}

} // namespace zarno
