#pragma once
// Helpers the library's own parts share; not exported.

#include "outside/dravik/dravik.h"

#include <vector>

namespace dravik {

// |H| of the taps at the normalised frequency x in [0, 1] (1 = the highest frequency).
double ResponseAt(const std::vector<double>& h, double x);

// The response of the record in dB at `points` frequencies from 0 to the highest; empty when the
// record describes no filter.
std::vector<double> ResponseDb(const DravikFilterRecord& record, int points);

} // namespace dravik
