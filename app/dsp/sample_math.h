#pragma once
// The arithmetic shared by the document's load, the view and the measurement panel: conversions
// between sample indices, times (seconds) and lengths (metres), the array searches that place
// markers and the extremum search.
//
// L = t × V / 2: t is the two-way travel time, V the wave velocity in the pile.

#include <cstdint>
#include <span>

namespace zarno::dsp {

// n × dt + t0; a negative n counts as 0, a negative dt as its magnitude, a dt of 0 as 1e-15 and a
// negative t0 as 0.
double TimeOfSample(double t0, int32_t n, double dt);
// TimeOfSample(t0, n, dt) × |V| / 2; 0 when V is 0.
double LengthOfSample(double t0, int32_t n, double V, double dt);
// |t − t0| / dt truncated toward zero (dt, t0 and t normalised as above). A quotient beyond the
// 32-bit range gives INT32_MAX and an undefined one (NaN) gives 0, so no input can make the
// conversion itself undefined.
int32_t SampleOfTime(double t0, double t, double dt);
// SampleOfTime(t0, 2L / |V|, dt); 0 when V is 0.
int32_t SampleOfLength(double t0, double L, double V, double dt);
// t × |V| / 2 with a negative t taken as 0; 0 when V is 0.
double LengthOfTime(double t, double V);

// Searches over a whole array. Ties go to the first value: a later value must be strictly larger
// (smaller) to win. An empty array gives 0.
int32_t IndexOfMax(std::span<const double> x);
int32_t IndexOfMin(std::span<const double> x);
int32_t IndexOfAbsMax(std::span<const double> x);
// The first value below 0; 0 when there is none.
int32_t IndexOfFirstNegative(std::span<const double> x);
double MaxValue(std::span<const double> x);
double MinValue(std::span<const double> x);

// Range forms over [a, b]: a below 0 counts as 0, the result is a + the index found in the
// subarray, and 0 when b is negative. The range is kept inside the array: b beyond the end counts
// as the last index, and a range left empty by that (or by b < a) gives a. IndexOfFirstNegative
// gives a when the range holds no negative value.
int32_t IndexOfMax(std::span<const double> x, int32_t a, int32_t b);
int32_t IndexOfMin(std::span<const double> x, int32_t a, int32_t b);
int32_t IndexOfAbsMax(std::span<const double> x, int32_t a, int32_t b);
int32_t IndexOfFirstNegative(std::span<const double> x, int32_t a, int32_t b);
// The value at the range's IndexOfMax / IndexOfMin; 0 when that index lies outside the array.
double MaxValue(std::span<const double> x, int32_t a, int32_t b);
double MinValue(std::span<const double> x, int32_t a, int32_t b);

enum class ExtremumMode { Max = 0, Min = 1, AbsMax = 2 };

// How far the extremum search reaches either side of its sample, for a neighbourhood of L metres.
enum class ExtremumReach {
    // The key M, from a placed marker: L read as a length of pile, so the reach is the two-way
    // time 2L/V in samples (SampleOfLength).
    TwoWay,
    // The double click, around the pointer: L / (V × dt) samples, half the key's reach, and the
    // window's last sample is left out. The click already points at the feature, so it stays close.
    Click,
};

struct ExtremumSearch {
    int32_t marker = 0;     // current marker (or clicked sample), sample index
    int32_t firstShown = 0; // first and last sample shown on the screen
    int32_t lastShown = 0;
    double vicinity = 0.5; // neighbourhood in metres around the marker
    int32_t minRadius = 0; // samples either side searched at least, whatever the neighbourhood
    double V = 3600.0;
    double dt = 0.0001;
    ExtremumMode mode = ExtremumMode::Max;
    ExtremumReach reach = ExtremumReach::TwoWay;
};

struct SampleWindow {
    int32_t first = 0;
    int32_t last = 0;
};

// The samples the search looks at: the marker's neighbourhood within the shown part.
SampleWindow ExtremumWindow(const ExtremumSearch& search);
// The index of the chosen extremum of x within ExtremumWindow (the range form: the window's first
// sample when it holds none of x).
int32_t FindExtremum(std::span<const double> x, const ExtremumSearch& search);

} // namespace zarno::dsp
