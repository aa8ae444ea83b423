#pragma once
// The DDB recording as the instrument stores it: a 512-byte little-endian header, then 4-byte data
// words of all channels interleaved sample by sample (word w is channel w mod channels, sample
// w div channels). The file is handled in 512-byte blocks; block 0 is the header.

#include "app/i18n/texts.h"

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <array>

namespace zarno {

inline constexpr qint64 kDDBBlockSize = 512;
inline constexpr qint64 kDDBHeaderSize = kDDBBlockSize;
inline constexpr qint64 kDDBWordSize = 4;
inline constexpr qint64 kDDBWordsPerBlock = kDDBBlockSize / kDDBWordSize;
inline constexpr int kDDBIdentSize = 36;
// The SEG-Y headers carry the samples per channel in 16 bits.
inline constexpr qint32 kDDBMaxSamplesPerChannel = 65535;

// The header, field by field in file order (offsets in the comments). Fields named unused* are kept
// so that a header read and written again comes out byte for byte the same.
struct DDBHeader {
    char ident[kDDBIdentSize] = {}; // 0: identification text, NUL-terminated when shorter than 36
    quint16 unused36 = 0;
    quint16 profile = 0; // 38: becomes the SEG-Y line number
    quint16 unused40 = 0;
    quint16 unused42 = 0;
    quint16 year = 0;         // 44
    quint16 month = 0;        // 46
    quint16 day = 0;          // 48
    quint16 hour = 0;         // 50
    quint16 minute = 0;       // 52
    quint16 second = 0;       // 54
    quint16 milliseconds = 0; // 56
    // 58: the sampling frequency in the unit of frequencyUnit. The conversion puts the sample interval
    // in µs here before it writes the SEG-Y headers (see ToSampleInterval).
    quint16 sampleRate = 0;
    quint16 firstGain = 0;        // 60: gain of channel 0
    quint16 otherGain = 0;        // 62: gain of every other channel
    quint16 channels = 0;         // 64
    qint32 samplesPerChannel = 0; // 66 (ns)
    quint16 formatCode = 0;       // 70: 2 = 32-bit integer, 5 = IEEE float
    quint16 unused72 = 0;
    quint16 unused74 = 0;
    quint16 unused76 = 0;
    quint8 unused78[14] = {};
    quint16 frequencyUnit = 0; // 92: 0 = Hz, anything else = kHz
    quint8 unused94[418] = {};
};

// Reads a header from its 512 bytes; a shorter block reads as if padded with zeros.
DDBHeader ParseDDBHeader(QByteArrayView block);
// The 512 bytes of a header (for writing sample recordings and for tests).
std::array<quint8, kDDBHeaderSize> EncodeDDBHeader(const DDBHeader& header);

// The identification text up to its first NUL, at most 36 characters.
QByteArrayView DDBIdentText(const DDBHeader& header);

// Sample interval in µs for a frequency: 1000000 / f for Hz, 1000 / f for kHz, truncated toward zero
// and kept in 16 bits as the SEG-Y headers store it (3 Hz gives 333333, stored as 5653).
quint16 DDBSampleInterval(quint16 frequency, quint16 frequencyUnit);

// What the user is told when CheckDDBHeader refuses a header.
inline constexpr const char* kTextDDBFormatError = QT_TRANSLATE_NOOP("zarno", "Ошибка в формате DDB файла!");

// Why a header cannot be converted. Every one is found from block 0 alone, before a target exists.
enum class DDBHeaderCheck {
    Ok,
    Incomplete,     // block 0 is shorter than 512 bytes
    NoChannels,     // channel count 0
    BadSampleCount, // ns 0, negative or above 65535
    BadFrequency,   // frequency 0, or so high that the interval comes out below 1 µs
    BadFormatCode,  // a sample format other than 2 (32-bit integer) and 5 (IEEE float)
    ShortData,      // the source holds fewer data words than channels × ns (see DDBDataComplete)
};
DDBHeaderCheck CheckDDBHeader(const DDBHeader& header, qint64 headerBytes = kDDBHeaderSize);

// Bytes of data the header promises: channels × ns words of 4 bytes.
qint64 DDBDataBytes(const DDBHeader& header);
// Whether a source of sourceBytes (header block included) holds every word the header promises. A
// recording cut short is refused rather than padded: zeros in place of the missing samples would read
// as a quiet signal, and the reflection search would measure them like real ones.
bool DDBDataComplete(const DDBHeader& header, qint64 sourceBytes);

// Why a header was refused, in plain words for a command-line user (what the file claims and what
// it holds); empty for Ok.
QString DDBCheckDetail(DDBHeaderCheck check, const DDBHeader& header, qint64 sourceBytes);

// Number of 512-byte blocks of a file of the given size, header block included.
qint64 DDBBlockCount(qint64 fileSize);

} // namespace zarno
