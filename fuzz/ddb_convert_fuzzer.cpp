// The DDB-to-SEG-Y converter on arbitrary recordings: whatever the header claims, the output has
// exactly the announced size and every placed word sits where the word-by-word rule puts it.

#include "app/formats/ddb_to_sgy.h"
#include "app/formats/sgy_io.h"

#include <QBuffer>
#include <QtEndian>

#include <cstdint>
#include <cstdlib>

using namespace zarno;

namespace {

// Random bytes seldom make a header worth converting, so an input starting with an odd byte is read
// as a few header values (channels 1-16, ns 1-4096, frequency, unit) followed by the data; any other
// input is taken as a whole DDB file.
QByteArray Recording(const uint8_t* data, size_t size) {
    if (size < 8 || data[0] % 2 == 0)
        return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
    DDBHeader header;
    header.channels = quint16(1 + data[1] % 16);
    header.samplesPerChannel = 1 + qFromLittleEndian<quint16>(data + 2) % 4096;
    header.sampleRate = qFromLittleEndian<quint16>(data + 4);
    header.frequencyUnit = data[6] % 2;
    header.formatCode = data[7];
    const auto head = EncodeDDBHeader(header);
    return QByteArray(reinterpret_cast<const char*>(head.data()), qsizetype(head.size())) +
           QByteArray(reinterpret_cast<const char*>(data + 8), qsizetype(size - 8));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray recording = Recording(data, size);
    const QByteArrayView input(recording);
    // Small buffers so that chunk edges fall everywhere.
    DDBToSGYConverter converter(SGYTextVariant::Local, qint64(4) << (size % 12));
    if (converter.pushHeaderBlock(input.first(qMin<qsizetype>(input.size(), kDDBBlockSize))) !=
        DDBHeaderCheck::Ok)
        return 0;
    if (converter.targetSize() > (qint64(4) << 20))
        return 0;
    QByteArray out;
    QBuffer target(&out);
    target.open(QIODevice::ReadWrite);
    if (!converter.begin(target))
        std::abort();
    for (qsizetype at = kDDBBlockSize; at < input.size(); at += kDDBBlockSize)
        if (!converter.pushDataBlock(input.sliced(at, qMin<qsizetype>(kDDBBlockSize, input.size() - at))))
            std::abort();
    if (!converter.finish() || out.size() != converter.targetSize())
        std::abort();

    const qint64 channels = converter.header().channels, ns = converter.header().samplesPerChannel;
    const qint64 words = (input.size() - qMin<qsizetype>(input.size(), kDDBBlockSize)) / kDDBWordSize;
    for (qint64 w = 0; w < qMin(words, channels * ns); ++w) {
        const quint32 word = qFromLittleEndian<quint32>(input.data() + kDDBBlockSize + w * kDDBWordSize);
        const qint64 at =
            SGYTraceOffset(ns, w % channels) + kSGYTraceHeaderSize + kSGYSampleSize * (w / channels);
        if (qFromBigEndian<quint32>(out.constData() + at) != word)
            std::abort();
    }
    return 0;
}
