#include "app/formats/sgy_samples.h"

#include "app/formats/sgy_headers.h"

#include <QtEndian>

#include <bit>
#include <cmath>

namespace zarno {

namespace {

template <typename T> T Word(const quint8* bytes, bool littleEndian) {
    return littleEndian ? qFromLittleEndian<T>(bytes) : qFromBigEndian<T>(bytes);
}

} // namespace

double IBMFloatToDouble(quint32 word) {
    const quint32 fraction = word & 0x00FFFFFFu;
    const int exponent = int((word >> 24) & 0x7F) - 64;
    // 0.fraction × 16^exponent, the fraction read as a 24-bit integer.
    const double magnitude = std::ldexp(double(fraction), 4 * exponent - 24);
    return (word & 0x80000000u) ? -magnitude : magnitude;
}

double DecodeSGYSample(const quint8* bytes, quint16 formatCode, bool littleEndian) {
    switch (formatCode) {
    case kSGYFormatIBMFloat32:
        return IBMFloatToDouble(Word<quint32>(bytes, littleEndian));
    case kSGYFormatInt32:
        return static_cast<qint32>(Word<quint32>(bytes, littleEndian));
    case kSGYFormatInt16:
        return static_cast<qint16>(Word<quint16>(bytes, littleEndian));
    case kSGYFormatFloat32:
        return static_cast<double>(std::bit_cast<float>(Word<quint32>(bytes, littleEndian)));
    case kSGYFormatFloat64:
        return std::bit_cast<double>(Word<quint64>(bytes, littleEndian));
    case kSGYFormatInt8:
        return static_cast<qint8>(bytes[0]);
    case kSGYFormatUInt32:
        return Word<quint32>(bytes, littleEndian);
    case kSGYFormatUInt16:
        return Word<quint16>(bytes, littleEndian);
    case kSGYFormatUInt8:
        return bytes[0];
    default:
        return 0.0;
    }
}

} // namespace zarno
