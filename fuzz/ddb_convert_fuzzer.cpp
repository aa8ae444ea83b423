// The DDB-to-SEG-Y converter on arbitrary recordings: whatever the header claims, the output has
// exactly the announced size and every placed word sits where the word-by-word rule puts it.

#include "app/formats/ddb_to_sgy.h"
#include "app/formats/sgy_io.h"

#include <QBuffer>
#include <QtEndian>

#include <cstdint>
#include <cstdlib>

using namespace zarno;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
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
