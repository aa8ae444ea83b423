#pragma once
// Little-endian numbers and space-padded text fields of the instrument's requests and answers,
// bounded by the buffer they work on. The program and the simulator both use these.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zarno::wire {

inline uint16_t GetU16(std::span<const uint8_t> b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
inline uint32_t GetU32(std::span<const uint8_t> b, size_t at) {
    return uint32_t{b[at]} | (uint32_t{b[at + 1]} << 8) | (uint32_t{b[at + 2]} << 16) |
           (uint32_t{b[at + 3]} << 24);
}
inline void PutU16(std::span<uint8_t> b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(std::span<uint8_t> b, size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void AppendU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void AppendU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A space-padded field of width bytes at `at`, cut at its first space.
inline QString Field(std::span<const uint8_t> b, size_t at, size_t width) {
    size_t n = 0;
    while (n < width && b[at + n] != ' ')
        ++n;
    return QString::fromLatin1(reinterpret_cast<const char*>(b.data() + at), qsizetype(n));
}

} // namespace zarno::wire
