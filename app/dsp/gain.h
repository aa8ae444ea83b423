#pragma once
// The time-varying gain ("ВАРУ"): one curve of ns gain factors for all traces of a file, kept with
// its first parameter in "VARY.ini" beside the file.
//
// "VARY.ini", little-endian: int32 point count, int32 first parameter, point count doubles.

#include "app/dsp/settings_file.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <span>
#include <vector>

namespace zarno::dsp {

inline constexpr char kVaryFileName[] = "VARY.ini";
inline constexpr int32_t kVaryHeaderBytes = 8;

struct GainSetting {
    int32_t first = 1;         // stored; handed to the gain utility
    int32_t second = 10;       // handed to the gain utility; not stored
    int32_t points = 0;        // number of curve values stored
    std::vector<double> curve; // ns gain factors
};

// The setting an existing "VARY.ini" with these bytes gives for traces of ns samples. At most ns
// values are read: a count beyond ns is a claim the curve cannot hold. Values the file does not
// hold are 1.0 (neutral); a file without a whole header, or with a count of 0, gives the neutral
// curve with point count ns and first parameter 1.
GainSetting ParseVaryBytes(const QByteArray& bytes, int32_t ns);

// The setting of a directory: its "VARY.ini" parsed, or the neutral curve when the file is missing
// (created empty with MissingFile::Create) or cannot be read. The second parameter is always 10.
GainSetting LoadVaryFile(const QString& dir, int32_t ns, MissingFile missing);

QByteArray VaryBytes(const GainSetting& gain);
// Writes "VARY.ini" anew; false (and nothing written) when it cannot be created.
bool SaveVaryFile(const QString& dir, const GainSetting& gain);

// out[k] = curve[k] × in[k] over the common length.
void ApplyCurve(std::span<const double> curve, std::span<const double> in, std::span<double> out);

// The curve squeezed onto the window [first, last] of m points by averaging blocks of
// r = floor(ns / m) values (the divisor is r even for a short last block). Empty when r < 1 or the
// window does not lie inside the curve: then there is nothing to apply.
std::vector<double> ResampleCurve(std::span<const double> curve, int32_t first, int32_t last);

// Within [first, first + resampled.size()): out[k] = resampled[k − first] × in[k]; elements outside
// are left as they are.
void ApplyCurveInWindow(std::span<const double> resampled, int32_t first, std::span<const double> in,
                        std::span<double> out);

} // namespace zarno::dsp
