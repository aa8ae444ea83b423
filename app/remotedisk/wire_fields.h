#pragma once
// Little-endian numbers and space-padded text fields in the instrument's answers.

#include <QString>

#include <cstddef>
#include <cstdint>

namespace zarno::wire {

inline uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t U32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

inline void PutU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// A space-padded field cut at its first space.
inline QString Field(const uint8_t* p, size_t width) {
    size_t n = 0;
    while (n < width && p[n] != ' ')
        ++n;
    return QString::fromLatin1(reinterpret_cast<const char*>(p), qsizetype(n));
}

} // namespace zarno::wire
