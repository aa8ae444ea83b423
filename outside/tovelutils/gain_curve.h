#pragma once
// The gain curve of the library's two parameters (see tovel_utils.h).

#include <cstdint>
#include <vector>

namespace tovel {

inline constexpr int32_t kMaxEndDb = 120;
inline constexpr int32_t kMaxStartPercent = 99;

void FillCurve(int32_t endDb, int32_t startPercent, double* curve, int32_t ns);

} // namespace tovel
