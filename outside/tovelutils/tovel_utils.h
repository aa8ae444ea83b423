#pragma once
// libTovelUtils: the time-varying gain curve and its editor. The three entry points are named for
// the ordinals the host imports them by; all arguments are 32-bit values or pointers.
//
// The curve: the first `start` samples of the trace (the impact) keep gain 1; from there the gain
// rises evenly in decibels to `endDb` at the last sample, undoing the exponential damping of a
// wave that runs down a pile and back:
//     first parameter  = endDb, the gain at the last sample in dB, 0 .. 120 (0 gives no gain);
//     second parameter = start, as a percentage of the trace, 0 .. 99.
// Values outside these ranges are taken at the nearest end.

#include <cstdint>

extern "C" {

// Ordinal 1: writes the curve of the two parameters into curve[0 .. ns − 1]; 1 when written,
// 0 when ns is below 1 or curve is null.
int32_t TovelUtils1(int32_t first, int32_t second, int32_t ns, int32_t, int32_t, double* curve);

// Ordinal 2: the editor of the two parameters, with a plot of the curve. On OK the parameters and
// the curve hold the new setting and 1 is returned; on Cancel, or without a Qt GUI application
// (a line on standard error says so), nothing changes and 0 is returned.
int32_t TovelUtils2(int32_t* first, int32_t* second, int32_t ns, double* curve);

// Ordinal 3: asks whether to go on with editing the gain; 1 for yes. `window` is the asking
// window (a QWidget*) or null. Without a Qt GUI application it says so and returns 0.
int32_t TovelUtils3(void* window);
}
