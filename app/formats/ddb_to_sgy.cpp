#include "app/formats/ddb_to_sgy.h"

#include "app/formats/sgy_io.h"

#include <QFileDevice>
#include <QIODevice>

#include <algorithm>

namespace zarno {

namespace {

// Decimal digits of a value, cut to at most maxChars characters (the time of creation keeps at
// most 4 digits of the year and 2 of every other part, so 120 ms reads "12").
QByteArray Digits(quint16 value, qsizetype maxChars) {
    return QByteArray::number(value).left(maxChars);
}

QByteArray LocalText(const DDBHeader& h) {
    QByteArray text = DDBIdentText(h).toByteArray();
    text += "  ";
    text += "Time of creation (y/m/d h:m:s.ms):";
    text += Digits(h.year, 4) + "/ " + Digits(h.month, 2) + "/ " + Digits(h.day, 2);
    text += "  ";
    text += Digits(h.hour, 2) + ": " + Digits(h.minute, 2) + ": " + Digits(h.second, 2) + ". " +
            Digits(h.milliseconds, 2);
    text += '\0';
    return text;
}

QByteArray DeviceText(const DDBHeader& h) {
    QByteArray text(kDDBIdentSize, '\0');
    const QByteArrayView ident = DDBIdentText(h);
    text.replace(0, ident.size(), ident);
    return text;
}

// Makes an empty target exactly size bytes of zeros.
bool SizeTarget(QIODevice& target, qint64 size) {
    if (auto* file = qobject_cast<QFileDevice*>(&target))
        return file->resize(size);
    if (!target.seek(0))
        return false;
    const QByteArray zeros(qMin<qint64>(size, 1 << 16), '\0');
    for (qint64 left = size; left > 0;) {
        const qint64 n = qMin<qint64>(left, zeros.size());
        if (target.write(zeros.constData(), n) != n)
            return false;
        left -= n;
    }
    return true;
}

} // namespace

QByteArray BuildSGYTextualHeader(const DDBHeader& header, SGYTextVariant variant) {
    QByteArray block(kSGYTextualHeaderSize, ' ');
    const QByteArray text = variant == SGYTextVariant::Local ? LocalText(header) : DeviceText(header);
    block.replace(0, text.size(), text);
    return block;
}

DDBToSGYConverter::DDBToSGYConverter(SGYTextVariant variant, qint64 bufferBytes)
    : m_variant(variant), m_bufferBytes(qMax<qint64>(bufferBytes, kDDBWordSize)) {}

DDBHeaderCheck DDBToSGYConverter::pushHeaderBlock(QByteArrayView block) {
    m_header = ParseDDBHeader(block);
    const DDBHeaderCheck check = CheckDDBHeader(m_header, block.size());
    m_headerOk = check == DDBHeaderCheck::Ok;
    if (!m_headerOk)
        return check;
    m_header.sampleRate = DDBSampleInterval(m_header.sampleRate, m_header.frequencyUnit);
    m_channels = m_header.channels;
    m_ns = m_header.samplesPerChannel;
    m_traceStride = kSGYTraceHeaderSize + kSGYSampleSize * m_ns;
    m_chunkRows = std::clamp<qint64>(m_bufferBytes / (kDDBWordSize * m_channels), 1, m_ns);
    return check;
}

qint64 DDBToSGYConverter::targetSize() const {
    return SGYFileSize(m_ns, m_channels);
}

bool DDBToSGYConverter::begin(QIODevice& target) {
    Q_ASSERT(m_headerOk);
    m_target = &target;
    m_chunk.assign(static_cast<std::size_t>(m_channels * m_chunkRows * kDDBWordSize), '\0');
    m_chunkStart = m_channel = m_sample = 0;
    const QByteArray text = BuildSGYTextualHeader(m_header, m_variant);
    bool ok = SizeTarget(target, targetSize()) && writeAt(0, text.constData(), text.size()) &&
              WriteSGYBinaryHeader(target, m_header) == 1;
    for (qint64 i = 0; ok && i < m_channels; ++i)
        ok = target.seek(SGYTraceOffset(m_ns, i)) && WriteSGYTraceHeader(target, m_header, i) == 1;
    m_failed = !ok;
    return ok;
}

bool DDBToSGYConverter::pushDataBlock(QByteArrayView block) {
    Q_ASSERT(m_target);
    const qint64 words = qMin(block.size(), kDDBBlockSize) / kDDBWordSize;
    const char* in = block.data();
    for (qint64 w = 0; w < words && m_sample < m_ns; ++w, in += kDDBWordSize) {
        char* out = m_chunk.data() + (m_channel * m_chunkRows + (m_sample - m_chunkStart)) * kDDBWordSize;
        // DDB words are little-endian, SEG-Y samples big-endian: the value passes through reversed.
        out[0] = in[3];
        out[1] = in[2];
        out[2] = in[1];
        out[3] = in[0];
        if (++m_channel < m_channels)
            continue;
        m_channel = 0;
        ++m_sample;
        if (m_sample - m_chunkStart == m_chunkRows || m_sample == m_ns) {
            if (!flushChunk())
                return false;
            m_chunkStart = m_sample;
        }
    }
    return !m_failed;
}

bool DDBToSGYConverter::finish() {
    Q_ASSERT(m_target);
    flushChunk();
    m_chunkStart = m_sample;
    return !m_failed;
}

qint64 DDBToSGYConverter::wordsPlaced() const {
    return m_sample * m_channels + m_channel;
}

// Writes each channel's gathered run of the current chunk to its place in its trace. The words of
// the chunk arrived row by row, so channel j holds the complete rows plus, when j comes before the
// next word's channel, one more.
bool DDBToSGYConverter::flushChunk() {
    const qint64 fullRows = m_sample - m_chunkStart;
    for (qint64 j = 0; j < m_channels && !m_failed; ++j) {
        const qint64 rows = fullRows + (j < m_channel ? 1 : 0);
        if (rows == 0)
            break; // later channels hold fewer rows still
        const qint64 at = SGYTraceOffset(m_ns, j) + kSGYTraceHeaderSize + kSGYSampleSize * m_chunkStart;
        writeAt(at, m_chunk.data() + j * m_chunkRows * kDDBWordSize, rows * kDDBWordSize);
    }
    return !m_failed;
}

bool DDBToSGYConverter::writeAt(qint64 offset, const char* data, qint64 size) {
    if (m_failed || !m_target->seek(offset) || m_target->write(data, size) != size)
        m_failed = true;
    return !m_failed;
}

} // namespace zarno
