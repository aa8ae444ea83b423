#pragma once
// The list of pile lengths at the five markers, as the panel's model keeps it for its
// "Список длин" and for the report. Each marker past the zero gives the length from the zero to
// it; the entries are sorted, unused ones sort last.

#include <QString>

#include <array>
#include <span>

namespace zarno {

inline constexpr int kLengthsListRows = 5;
// An unused entry: larger than any length, so that sorting puts it after the valid ones.
inline constexpr double kUnusedLength = 9999999999.0;

struct LengthsList {
    std::array<double, kLengthsListRows> entries{}; // ascending; the first `count` are lengths in m
    int count = 0;                                   // valid lengths
    std::array<QString, kLengthsListRows> numbers;   // first column: "1" … "5"
    std::array<QString, kLengthsListRows> texts;     // second column: "%2.3f" or "- 0 -"
};

// markers: sample positions in marker order; zero: the sample times and lengths count from (a
// marker at or before it is a removed one); dtSeconds: sample interval; velocity: V in m/s.
LengthsList ComputeLengthsList(std::span<const int, kLengthsListRows> markers, int zero,
                               double dtSeconds, double velocity);

} // namespace zarno
