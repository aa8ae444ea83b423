// "VARY.ini" as found beside a recording: any bytes, for traces of any length the header claims.

#include "app/dsp/gain.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    // SEG-Y holds ns in 16 bits; the first two bytes choose it.
    const int32_t ns = data[0] | (data[1] << 8);
    const QByteArray bytes(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(size - 2));
    const zarno::dsp::GainSetting gain = zarno::dsp::ParseVaryBytes(bytes, ns);
    if (gain.curve.size() != static_cast<std::size_t>(ns) || gain.points < 0 || gain.points > ns ||
        gain.first < 0)
        std::abort();
    if (zarno::dsp::VaryBytes(gain).size() != 8 + 8 * qsizetype{gain.points})
        std::abort();
    return 0;
}
