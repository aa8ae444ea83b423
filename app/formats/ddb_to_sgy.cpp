#include "app/formats/ddb_to_sgy.h"

#include "app/formats/sgy_io.h"
#include "app/io/whole_file.h"

#include <QFileDevice>
#include <QIODevice>
#include <QtEndian>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstring>

#include <sys/mman.h>

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

constexpr qint64 kCacheLine = 64;

// Asks for the whole 2 MB pages inside a large buffer to be backed by huge pages: a recording's image
// is tens of MB, and taking it 4 KB page by page costs more in faults than the transposition itself.
// Only advice: where the system gives none, the buffer works all the same.
void AdviseHugePages(char* buffer, qint64 size) {
    constexpr std::uintptr_t kHuge = std::uintptr_t(2) << 20;
    const auto at = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t begin = (at + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t end = (at + static_cast<std::uintptr_t>(size)) & ~(kHuge - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

#if defined(__SSE2__)
constexpr qint64 kTile = 4;

// Reverses the bytes of each 32-bit word: within each 16-bit half, then the halves.
__m128i ReverseWords(__m128i v) {
    v = _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
    v = _mm_shufflelo_epi16(v, _MM_SHUFFLE(2, 3, 0, 1));
    return _mm_shufflehi_epi16(v, _MM_SHUFFLE(2, 3, 0, 1));
}

// Four rows of four channels' words (rows inStride apart) become four runs of four samples, one per
// channel (runs outStride apart), each word reversed.
void ReverseTile(const char* in, qint64 inStride, char* out, qint64 outStride) {
    const auto load = [&](qint64 row) {
        return _mm_loadu_si128(static_cast<const __m128i*>(static_cast<const void*>(in + row * inStride)));
    };
    const __m128i r0 = load(0), r1 = load(1), r2 = load(2), r3 = load(3);
    const __m128i lo01 = _mm_unpacklo_epi32(r0, r1), lo23 = _mm_unpacklo_epi32(r2, r3);
    const __m128i hi01 = _mm_unpackhi_epi32(r0, r1), hi23 = _mm_unpackhi_epi32(r2, r3);
    const __m128i runs[kTile] = {_mm_unpacklo_epi64(lo01, lo23), _mm_unpackhi_epi64(lo01, lo23),
                                 _mm_unpacklo_epi64(hi01, hi23), _mm_unpackhi_epi64(hi01, hi23)};
    for (qint64 c = 0; c < kTile; ++c)
        _mm_storeu_si128(static_cast<__m128i*>(static_cast<void*>(out + c * outStride)),
                         ReverseWords(runs[c]));
}
#else
constexpr qint64 kTile = 1; // no tiles: every word goes one by one

void ReverseTile(const char*, qint64, char*, qint64) {}
#endif

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
    m_chunkRows = std::clamp<qint64>(m_bufferBytes / (kDDBWordSize * m_channels), 1, m_ns);
    return check;
}

qint64 DDBToSGYConverter::targetSize() const {
    return SGYFileSize(m_ns, m_channels);
}

bool DDBToSGYConverter::begin(QIODevice& target) {
    Q_ASSERT(m_headerOk);
    m_target = &target;
    m_whole = m_chunkRows == m_ns;
    m_stageRows = qMin(kStageRows, m_chunkRows);
    m_stage = std::make_unique_for_overwrite<char[]>(
        static_cast<std::size_t>(m_channels * (m_stageRows + 1) * kDDBWordSize));
    m_chunkStart = m_stageStart = m_channel = m_sample = 0;
    m_failed = false;
    if (m_whole)
        return beginWhole();
    m_chunkStride = (m_chunkRows * kDDBWordSize + kCacheLine - 1) / kCacheLine * kCacheLine;
    if ((m_chunkStride / kCacheLine) % 2 == 0)
        m_chunkStride += kCacheLine;
    m_chunk = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(m_channels * m_chunkStride));
    m_chunkData = m_chunk.get();
    const QByteArray text = BuildSGYTextualHeader(m_header, m_variant);
    bool ok = SizeTarget(target, targetSize()) && writeAt(0, text.constData(), text.size()) &&
              WriteSGYBinaryHeader(target, m_header) == kSGYWritten;
    for (qint64 i = 0; ok && i < m_channels; ++i)
        ok = target.seek(SGYTraceOffset(m_ns, i)) && WriteSGYTraceHeader(target, m_header, i) == kSGYWritten;
    m_failed = !ok;
    return ok;
}

// The chunk is the file's image: the headers go in their places now, each channel's samples land in
// their trace, and finish() writes it front to back. The trace stride (4 * ns + 240) is no multiple of
// a large power of two, so the transposition's columns do not crowd into a few cache sets either.
bool DDBToSGYConverter::beginWhole() {
    m_chunkStride = SGYTraceOffset(m_ns, 1) - SGYTraceOffset(m_ns, 0);
    m_chunk = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(targetSize()));
    char* const image = m_chunk.get();
    AdviseHugePages(image, targetSize());
    const QByteArray text = BuildSGYTextualHeader(m_header, m_variant);
    std::memcpy(image, text.constData(), static_cast<std::size_t>(text.size()));
    const auto binary = EncodeSGYBinaryHeader(MakeSGYBinaryHeader(m_header));
    std::memcpy(image + kSGYTextualHeaderSize, binary.data(), binary.size());
    for (qint64 i = 0; i < m_channels; ++i) {
        const auto trace = EncodeSGYTraceHeader(MakeSGYTraceHeader(m_header, i));
        std::memcpy(image + SGYTraceOffset(m_ns, i), trace.data(), trace.size());
    }
    m_chunkData = image + SGYTraceOffset(m_ns, 0) + kSGYTraceHeaderSize;
    return true;
}

bool DDBToSGYConverter::pushDataBlock(QByteArrayView block) {
    Q_ASSERT(m_target);
    const char* in = block.data();
    qint64 words = qMin(block.size(), kDDBBlockSize) / kDDBWordSize;
    while (words > 0 && m_sample < m_ns) {
        // The rest of the current row, or as much of it as the block holds, goes to the stage as it is.
        const qint64 n = qMin(words, m_channels - m_channel);
        std::memcpy(m_stage.get() + ((m_sample - m_stageStart) * m_channels + m_channel) * kDDBWordSize, in,
                    static_cast<std::size_t>(n * kDDBWordSize));
        in += n * kDDBWordSize;
        words -= n;
        m_channel += n;
        if (m_channel < m_channels)
            break;
        m_channel = 0;
        ++m_sample;
        const bool chunkFull = m_sample - m_chunkStart == m_chunkRows || m_sample == m_ns;
        if (chunkFull || m_sample - m_stageStart == m_stageRows)
            unstage();
        if (chunkFull && !m_whole) {
            if (!flushChunk())
                return false;
            m_chunkStart = m_sample;
        }
    }
    return !m_failed;
}

bool DDBToSGYConverter::finish() {
    Q_ASSERT(m_target);
    unstage();
    if (m_whole)
        return writeWhole();
    flushChunk();
    m_chunkStart = m_sample;
    return !m_failed;
}

// Moves the staged rows (and a partial row after them) into the chunk, channel by channel, reversing
// each word into SEG-Y byte order. Going channel by channel writes whole cache lines of one trace at
// a time instead of touching every trace's page for every row. Whole tiles of 4 rows by 4 channels
// go through vector registers; the words they leave out (the last channels and rows) go one by one.
void DDBToSGYConverter::unstage() {
    const qint64 fullRows = m_sample - m_stageStart;
    const qint64 rowBytes = m_channels * kDDBWordSize;
    char* const chunkRow = m_chunkData + (m_stageStart - m_chunkStart) * kDDBWordSize;
    const qint64 tiledRows = fullRows / kTile * kTile;
    const qint64 tiledChannels = kTile > 1 ? m_channels / kTile * kTile : 0;
    for (qint64 j = 0; j < tiledChannels; j += kTile)
        for (qint64 r = 0; r < tiledRows; r += kTile)
            ReverseTile(m_stage.get() + r * rowBytes + j * kDDBWordSize, rowBytes,
                        chunkRow + j * m_chunkStride + r * kDDBWordSize, m_chunkStride);
    for (qint64 j = 0; j < m_channels; ++j) {
        const qint64 rows = fullRows + (j < m_channel ? 1 : 0);
        const qint64 first = j < tiledChannels ? tiledRows : 0;
        const char* in = m_stage.get() + first * rowBytes + j * kDDBWordSize;
        char* out = chunkRow + j * m_chunkStride + first * kDDBWordSize;
        for (qint64 r = first; r < rows; ++r, in += rowBytes, out += kDDBWordSize) {
            // DDB words are little-endian, SEG-Y samples big-endian: the value passes through reversed.
            qToBigEndian(qFromLittleEndian<quint32>(in), out);
        }
    }
    m_stageStart = m_sample;
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
        writeAt(at, m_chunkData + j * m_chunkStride, rows * kDDBWordSize);
    }
    return !m_failed;
}

// The places no word reached (a recording cut short) read as zeros, as in a sized target; then the
// image goes out in one sequential write. Only the first call writes.
bool DDBToSGYConverter::writeWhole() {
    if (m_failed || !m_chunk)
        return !m_failed;
    const qint64 fullRows = m_sample - m_chunkStart;
    for (qint64 j = 0; j < m_channels; ++j) {
        const qint64 rows = qMin(m_ns, fullRows + (j < m_channel ? 1 : 0));
        std::memset(m_chunkData + j * m_chunkStride + rows * kDDBWordSize, 0,
                    static_cast<std::size_t>((m_ns - rows) * kDDBWordSize));
    }
    m_failed = !io::WriteAhead(*m_target, QByteArrayView(m_chunk.get(), targetSize()));
    m_chunk.reset();
    return !m_failed;
}

bool DDBToSGYConverter::writeAt(qint64 offset, const char* data, qint64 size) {
    if (m_failed || !m_target->seek(offset) || m_target->write(data, size) != size)
        m_failed = true;
    return !m_failed;
}

} // namespace zarno
