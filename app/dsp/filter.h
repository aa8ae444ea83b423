#pragma once
// The windowed-sinc FIR filter built from the bands of the filter settings, applied as a direct
// sum of N products per output sample.

#include "app/dsp/filter_settings.h"
#include "app/seams/prompts.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zarno::dsp {

// The longest half length the filter takes: more taps than a SEG-Y trace can hold samples
// (65535) add nothing, and a larger N from a damaged record would only exhaust memory and time.
inline constexpr int32_t kMaxFilterHalfLength = 65536;

// Only the 100 bands the record holds are summed, whatever larger count it claims.
uint32_t BandsInUse(const FilterSettings& s);

// A record with N below 2 (the window divides by N − 1) or with an fs of 0 or not finite describes
// no filter: the trace passes unchanged.
bool DescribesFilter(const FilterSettings& s);

// The sum of the bands' ideal responses over places j + N for j from −N to N − 1 (2N + 1 places,
// the last one 0), before the window.
std::vector<double> BandResponse(const FilterSettings& s);
// The shape window applied to a response of 2N + 1 places.
void ApplyShapeWindow(const FilterSettings& s, std::vector<double>& h);
// The windowed response; empty when the record describes no filter.
std::vector<double> DesignResponse(const FilterSettings& s);

// leading[m] = Σ_{k<N} h[k] · x[m − (N − 1) + k] for m from 0 to L + N − 2: every sum of the first N
// taps that reaches the trace, samples outside it counting as 0.
std::vector<double> LeadingSums(std::span<const double> h, int32_t halfLength, std::span<const double> x);
// The filter's delay D on trace x, 0 … N − 1: the one that puts the largest sum (in magnitude) where
// the trace's largest sample is, the first of equal ones either way.
int64_t FilterDelay(std::span<const double> leading, int32_t halfLength, std::span<const double> x);

enum class FilterOutcome { Filtered, PassedThrough, NoMemory };

// out[n] = Σ_{k<N} h[k] · in[n − D + k] = leading[n + N − 1 − D], D the filter's delay on the
// trace. A record that describes no filter copies in to out. When the response cannot be made (no memory, or N
// beyond kMaxFilterHalfLength) the user is told "Ошибка памяти при создании фильтра" and out is
// left as it was. in and out may be the same array.
FilterOutcome FilterTrace(const FilterSettings& s, std::span<const double> in, std::span<double> out,
                          Prompts& prompts);

} // namespace zarno::dsp
