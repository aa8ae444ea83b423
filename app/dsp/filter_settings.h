#pragma once
// The filter settings: one record of 2452 bytes for the whole program, the same bytes in memory, in
// "FILTER.ini" beside each SEG-Y file and for the filter library's settings dialog.

#include "app/dsp/settings_file.h"

#include <QByteArray>
#include <QString>

#include <bit>
#include <cstddef>
#include <cstdint>

namespace zarno::dsp {

inline constexpr char kFilterFileName[] = "FILTER.ini";
inline constexpr int kFilterBandSlots = 100;

#pragma pack(push, 1)
struct FilterBand {
    double f1; // upper edge
    double f2; // lower edge
    double gain;
};

struct FilterSettings {
    double fs;              // frequency scale: the design divides by it
    int32_t halfLength;     // N, half the length of the designed response
    int32_t bandCount;      // bands in use (compared unsigned)
    int32_t dialogKind;     // kept for the settings dialog; not used by the design
    double beta;            // window shape parameter
    double dialogParams[3]; // kept for the settings dialog
    FilterBand bands[kFilterBandSlots];
};
#pragma pack(pop)

static_assert(sizeof(FilterSettings) == 2452);
static_assert(offsetof(FilterSettings, halfLength) == 8 && offsetof(FilterSettings, bandCount) == 12 &&
              offsetof(FilterSettings, dialogKind) == 16 && offsetof(FilterSettings, beta) == 20 &&
              offsetof(FilterSettings, dialogParams) == 28 && offsetof(FilterSettings, bands) == 52);
static_assert(std::endian::native == std::endian::little, "the record is stored as it lies in memory");

// The program's one record (zero at start, like any static record).
FilterSettings& ProgramFilterSettings();

// The defaults, field by field: fs 100000, N 128, one band (10, 0, gain 1), 2, β 0.54, 0.46, 0, 0.
// Band entries past the first keep what they held.
void SetFilterDefaults(FilterSettings& s);

// β of 1 or less (or not a number) becomes 1.0; 100 or more becomes 100.0.
void BoundBeta(FilterSettings& s);

// The record an existing "FILTER.ini" with these bytes gives: its first 2452 bytes, or the
// defaults when it is shorter; β is then bounded either way.
void ParseFilterBytes(const QByteArray& bytes, FilterSettings& s);

// Fills the record from the directory's "FILTER.ini". A file that is missing (created empty with
// MissingFile::Create) or cannot be read gives the defaults with β left at 0.54.
void LoadFilterFile(const QString& dir, FilterSettings& s, MissingFile missing);
QByteArray FilterBytes(const FilterSettings& s);
bool SaveFilterFile(const QString& dir, const FilterSettings& s);

} // namespace zarno::dsp
