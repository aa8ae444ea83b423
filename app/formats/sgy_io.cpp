#include "app/formats/sgy_io.h"

#include "app/seams/prompts.h"

#include <QIODevice>
#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <bit>
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

SGYByteOrder DetectSGYByteOrder(std::span<const quint8, kSGYBinaryHeaderSize> bytes) {
    for (const quint16 code : {kSGYFormatInt32, kSGYFormatFloat32}) {
        if (bytes[kFormatHighByte] == code)
            return SGYByteOrder::Big;
        if (bytes[kFormatLowByte] == code)
            return SGYByteOrder::Little;
    }
    return SGYByteOrder::Unknown;
}

SGYBinaryReadResult ReadSGYBinaryHeader(QIODevice& file, SGYBinaryHeader& header, bool& littleEndian, Prompts& prompts) {
    std::array<quint8, kSGYBinaryHeaderSize> bytes;
    ReadPadded(file, bytes.data(), kSGYBinaryHeaderSize);
    const SGYByteOrder order = DetectSGYByteOrder(bytes);
    if (order == SGYByteOrder::Unknown) {
        prompts.message(QString::fromUtf8(kTextSGYFormatError), QString(), PromptIcon::Stop);
        return kSGYBinaryBadFormat;
    }
    const bool little = order == SGYByteOrder::Little;
    littleEndian = little;
    DecodeSGYBinaryHeader(bytes, little, header);
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

double DecodeSGYSample(const quint8* bytes, quint16 formatCode, bool littleEndian) {
    const quint32 word = littleEndian ? qFromLittleEndian<quint32>(bytes) : qFromBigEndian<quint32>(bytes);
    switch (formatCode) {
    case kSGYFormatInt32:
        return static_cast<qint32>(word);
    case kSGYFormatFloat32:
        return static_cast<double>(std::bit_cast<float>(word));
    default:
        return 0.0;
    }
}

qint64 ReadSGYTraceSamples(QIODevice& file, const SGYBinaryHeader& header, bool littleEndian,
                           qint64 traceIndex, std::vector<double>& samples) {
    const qint64 ns = header.samplesPerTrace;
    samples.assign(static_cast<std::size_t>(ns), 0.0);
    const qint64 at = SGYTraceOffset(header, traceIndex) + kSGYTraceHeaderSize;
    if (ns == 0 || at >= file.size() || !file.seek(at))
        return 0;
    std::vector<quint8> bytes(static_cast<std::size_t>(ns * kSGYSampleSize));
    const qint64 present = ReadPadded(file, bytes.data(), ns * kSGYSampleSize) / kSGYSampleSize;
    for (qint64 k = 0; k < present; ++k)
        samples[static_cast<std::size_t>(k)] =
            DecodeSGYSample(bytes.data() + k * kSGYSampleSize, header.formatCode, littleEndian);
    return present;
}

QString SGYTextualHeaderText(QByteArrayView block) {
    const QByteArrayView text = block.first(std::min(block.size(), kSGYTextualHeaderSize));
    const qsizetype nul = text.indexOf('\0');
    const QByteArrayView shown = nul < 0 ? text : text.first(nul);
    // The instrument writes its texts in the Cyrillic 8-bit code page.
    QStringDecoder decoder("windows-1251");
    if (!decoder.isValid())
        return QString::fromLatin1(shown);
    return decoder.decode(shown);
}

} // namespace zarno
