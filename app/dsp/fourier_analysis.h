#pragma once
// The magnitude spectrum of a trace: the radix-2 transform, the three windows, the two scales and
// the spectrum text file.

#include <QByteArray>

#include <complex>
#include <cstdint>
#include <span>
#include <vector>

namespace zarno::dsp {

enum class FftWindow { Rectangular = 0, BlackmanHarris = 1, Hamming = 2 };
enum class SpectrumScale { Logarithmic = 0, Linear = 1 };

bool IsPowerOfTwo(std::size_t n);

// In-place iterative decimation-in-time radix-2 transform without scaling; forward uses
// e^(−2πi·kn/N). Only powers of two are transformed: for any other length the passes would not
// form a discrete Fourier transform (and the bit reversal would not end), so the data is left as
// it is and false is returned.
bool FourierTransform(bool inverse, std::span<std::complex<double>> data);

// The forward discrete Fourier transform of any length: the radix-2 transform for powers of two,
// otherwise the same transform reached through a chirp convolution of a power-of-two length, so
// that bin k still stands for k / (n × dt) and all n bins exist.
std::vector<std::complex<double>> DiscreteFourierTransform(std::span<const std::complex<double>> x);

// The window's factor at sample j of n (θ = 2πj / n, n taken as 1 when it is 0).
double WindowFactor(FftWindow window, std::size_t j, std::size_t n);

// The spectrum of one trace, all n bins: magnitudes divided by the largest (linear scale), or
// levels 20·log10(magnitude / 2^23) limited to −144 dB (logarithmic scale). out holds n values.
void ComputeSpectrum(std::span<const double> source, FftWindow window, SpectrumScale scale,
                     std::span<double> out);

// The frequency of one bin on the spectrum axis: 1 / (ns × u / 1000), u being the X-axis units
// per sample (ms per sample while the axis shows time); 1 when that product is 0.
double SpectrumFrequencyStep(int32_t ns, double unitsPerSample);

// Bins shown on the spectrum axis: 0 to ns/2 − 1 (all ns are computed and saved).
inline int32_t ShownSpectrumBins(int32_t ns) {
    return ns > 0 ? ns / 2 : 0;
}

// The spectrum text file: one line per bin k from 0 to n − 1; per trace the value as "%f" and a
// tab; lines end CR LF, as the files written on the instrument's other computers do.
QByteArray SpectrumText(std::span<const std::span<const double>> spectra);

} // namespace zarno::dsp
