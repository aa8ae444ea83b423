#pragma once
// Turning one SEG-Y sample, in any sample format the program reads, into the double the viewer and
// the analysis work on.

#include <QtGlobal>

namespace zarno {

// An IBM System/360 single-precision float (sign, base-16 exponent biased by 64, 24-bit fraction).
// Every such value is a double exactly, so nothing is rounded; values beyond the IEEE single range
// keep their size instead of becoming infinities or zeros.
double IBMFloatToDouble(quint32 word);

// The sample at bytes (SGYSampleBytes(formatCode) of them) in the file's byte order; 0 for a
// format code the program cannot decode.
double DecodeSGYSample(const quint8* bytes, quint16 formatCode, bool littleEndian);

} // namespace zarno
