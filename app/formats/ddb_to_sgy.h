#pragma once
// DDB to SEG-Y, as one streaming converter fed with the recording's 512-byte blocks in order: block 0
// (the header), then the data blocks. The local conversion feeds it from a file; a download from the
// instrument feeds it the blocks as they arrive.
//
// The output is byte for byte what placing each data word on its own would give: word w of channel j
// and sample s goes, byte-reversed, to 3840 + j * (4 * ns + 240) + 4 * s. Words are gathered per
// channel in a buffer and written in runs, not one seek per word. When the buffer holds every sample
// of the recording it holds the whole file instead, which is written front to back in one go at the
// end, without a seek (a target that cannot seek will do). Words past ns per channel are dropped (they
// would land in the next trace's header).
//
// Use:
//   DDBToSGYConverter conv(SGYTextVariant::Local);
//   if (conv.pushHeaderBlock(block0) != DDBHeaderCheck::Ok) ...refuse, no target made yet...
//   ...create the target (a QSaveFile, so that a failure leaves nothing behind)...
//   conv.begin(target); for each data block: conv.pushDataBlock(block); conv.finish(); commit.

#include "app/formats/ddb_header.h"

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

class QIODevice;

namespace zarno {

// The textual header of a local conversion carries the identification text and the time of
// creation; that of a download from the instrument carries the 36 bytes of identification only.
enum class SGYTextVariant { Local, Device };

// The 3200-byte textual header of either variant.
QByteArray BuildSGYTextualHeader(const DDBHeader& header, SGYTextVariant variant);

class DDBToSGYConverter {
public:
    // Runs of 64 KB per trace for 256 channels, written in four passes over the file: a larger buffer
    // costs more in fresh pages and in memory traffic (each line of it is written, evicted and read
    // back by the write) than the extra runs cost the file system. Only what a recording needs is
    // taken.
    static constexpr qint64 kDefaultBufferBytes = qint64(16) << 20;

    explicit DDBToSGYConverter(SGYTextVariant variant, qint64 bufferBytes = kDefaultBufferBytes);

    // Block 0: parses and checks the header. Anything but Ok leaves the converter unusable; nothing
    // has been written, so the caller need not have made a target yet.
    DDBHeaderCheck pushHeaderBlock(QByteArrayView block);

    // The header as written: sampleRate holds the sample interval in µs. Valid after pushHeaderBlock.
    const DDBHeader& header() const { return m_header; }
    // Size of the SEG-Y file: 3600 + channels * (4 * ns + 240).
    qint64 targetSize() const;

    // Sizes the (empty, random-access) target and writes the textual, binary and trace headers.
    // False when a write failed. When the whole recording fits the buffer, nothing is written before
    // finish() and the target need not seek.
    bool begin(QIODevice& target);
    // One data block (blocks 1, 2, ... in order): its whole 4-byte words, at most 128; the last block
    // of a file may be shorter. False when a write failed.
    bool pushDataBlock(QByteArrayView block);
    // Writes what is still buffered. False when this or any earlier write failed.
    bool finish();

private:
    void unstage();
    bool beginWhole();
    bool flushChunk();
    bool writeWhole();
    bool writeAt(qint64 offset, const char* data, qint64 size);

    SGYTextVariant m_variant;
    qint64 m_bufferBytes;
    DDBHeader m_header;
    bool m_headerOk = false;
    QIODevice* m_target = nullptr;
    bool m_failed = false;

    qint64 m_channels = 0;
    qint64 m_ns = 0;
    // The buffer holds rows m_chunkStart .. m_chunkStart + m_chunkRows - 1 of every channel, channel
    // by channel, the words already in file byte order. Only filled places are ever written out, so
    // the buffer is left uninitialised. Channels lie m_chunkStride bytes apart: an odd number of cache
    // lines, so that the columns the transposition writes side by side fall into different cache sets
    // (a run of 65535 samples is almost exactly 2^18 bytes and would put them all in the same few).
    qint64 m_chunkRows = 0;
    qint64 m_chunkStart = 0;
    qint64 m_chunkStride = 0;
    std::unique_ptr<char[]> m_chunk;
    // Row m_chunkStart of channel 0 in m_chunk. With m_whole the chunk is the file's image, each
    // channel's run inside its trace after the trace header.
    char* m_chunkData = nullptr;
    bool m_whole = false;
    // Rows as they arrive (DDB order and byte order), from row m_stageStart on, moved into the chunk
    // every kStageRows rows; one more row's room holds the partial row at the end.
    static constexpr qint64 kStageRows = 16;
    qint64 m_stageRows = 0;
    qint64 m_stageStart = 0;
    std::unique_ptr<char[]> m_stage;
    // Position of the next data word.
    qint64 m_channel = 0;
    qint64 m_sample = 0;
};

} // namespace zarno
