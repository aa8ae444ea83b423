#include "app/dsp/fourier_analysis.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace zarno::dsp {

namespace {

using Complex = std::complex<double>;

constexpr double kFullScale = 8388608.0; // 2^23
constexpr double kSmallestLevel = 1e-18;
constexpr double kFloorDb = -144.0;

void BitReverse(std::span<Complex> data) {
    const std::size_t n = data.size();
    std::size_t j = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if (i < j)
            std::swap(data[i], data[j]);
        std::size_t m = n / 2;
        while (m >= 1 && m <= j) {
            j -= m;
            m /= 2;
        }
        j += m;
    }
}

std::size_t NextPowerOfTwo(std::size_t n) {
    std::size_t p = 1;
    while (p < n)
        p *= 2;
    return p;
}

// Bluestein: X[k] = w[k] · Σ x[m] w[m] · conj(w[k − m]) with w[m] = e^(−πi m²/n).
std::vector<Complex> ChirpTransform(std::span<const Complex> x) {
    const std::size_t n = x.size();
    std::vector<Complex> w(n);
    std::size_t sq = 0; // m² mod 2n, kept small so the angle stays exact for long traces
    for (std::size_t m = 0; m < n; ++m) {
        w[m] = std::polar(1.0, -std::numbers::pi * static_cast<double>(sq) / static_cast<double>(n));
        sq = (sq + 2 * m + 1) % (2 * n);
    }
    const std::size_t size = NextPowerOfTwo(2 * n - 1);
    std::vector<Complex> a(size), b(size);
    for (std::size_t m = 0; m < n; ++m)
        a[m] = x[m] * w[m];
    b[0] = std::conj(w[0]);
    for (std::size_t m = 1; m < n; ++m)
        b[m] = b[size - m] = std::conj(w[m]);
    FourierTransform(false, a);
    FourierTransform(false, b);
    for (std::size_t i = 0; i < size; ++i)
        a[i] *= b[i];
    FourierTransform(true, a);
    std::vector<Complex> out(n);
    for (std::size_t k = 0; k < n; ++k)
        out[k] = w[k] * a[k] / static_cast<double>(size);
    return out;
}

void ToLevels(std::span<double> v, SpectrumScale scale) {
    if (scale == SpectrumScale::Logarithmic) {
        for (double& x : v) {
            const double ratio = x / kFullScale;
            const double level = ratio > kSmallestLevel ? ratio : kSmallestLevel; // NaN included
            x = std::max(20.0 * std::log10(level), kFloorDb);
        }
        return;
    }
    const double top = v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
    const double divisor = top == 0.0 ? 1.0 : top;
    for (double& x : v)
        x /= divisor;
}

} // namespace

bool IsPowerOfTwo(std::size_t n) {
    return n != 0 && (n & (n - 1)) == 0;
}

bool FourierTransform(bool inverse, std::span<Complex> data) {
    const std::size_t n = data.size();
    if (n <= 1)
        return true;
    if (!IsPowerOfTwo(n))
        return false;
    BitReverse(data);
    const double sign = inverse ? 1.0 : -1.0;
    for (std::size_t le1 = 1; le1 < n; le1 *= 2) {
        const std::size_t le = 2 * le1;
        const double angle = std::numbers::pi / static_cast<double>(le1);
        const Complex step(std::cos(angle), sign * std::sin(angle));
        Complex u(1.0, 0.0);
        for (std::size_t r = 0; r < le1; ++r) {
            for (std::size_t i = r; i + le1 <= n - 1; i += le) {
                const Complex t = u * data[i + le1];
                data[i + le1] = data[i] - t;
                data[i] = data[i] + t;
            }
            u = u * step;
        }
    }
    return true;
}

std::vector<Complex> DiscreteFourierTransform(std::span<const Complex> x) {
    if (x.size() <= 1 || IsPowerOfTwo(x.size())) {
        std::vector<Complex> out(x.begin(), x.end());
        FourierTransform(false, out);
        return out;
    }
    return ChirpTransform(x);
}

double WindowFactor(FftWindow window, std::size_t j, std::size_t n) {
    const double theta =
        2.0 * std::numbers::pi * static_cast<double>(j) / static_cast<double>(n == 0 ? 1 : n);
    switch (window) {
    case FftWindow::BlackmanHarris:
        return 0.35875 - 0.48829 * std::cos(theta) + 0.14128 * std::cos(2.0 * theta) -
               0.01168 * std::cos(3.0 * theta);
    case FftWindow::Hamming:
        return 0.54 - 0.46 * std::cos(theta);
    case FftWindow::Rectangular:
        break;
    }
    return 1.0;
}

void ComputeSpectrum(std::span<const double> source, FftWindow window, SpectrumScale scale,
                     std::span<double> out) {
    const std::size_t n = std::min(source.size(), out.size());
    std::vector<Complex> work(n);
    for (std::size_t j = 0; j < n; ++j)
        work[j] = Complex(source[j] * WindowFactor(window, j, n), 0.0);
    const std::vector<Complex> bins = DiscreteFourierTransform(work);
    for (std::size_t k = 0; k < n; ++k)
        out[k] = std::abs(bins[k]);
    ToLevels(out.first(n), scale);
}

double SpectrumFrequencyStep(int32_t ns, double unitsPerSample) {
    const double span = ns * unitsPerSample / 1000.0;
    return span == 0.0 ? 1.0 : 1.0 / span;
}

QByteArray SpectrumText(std::span<const std::span<const double>> spectra) {
    std::size_t lines = 0;
    for (const auto& s : spectra)
        lines = std::max(lines, s.size());
    QByteArray text;
    char buffer[400];
    for (std::size_t k = 0; k < lines; ++k) {
        for (const auto& s : spectra) {
            const double v = k < s.size() ? s[k] : 0.0;
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 6);
            text.append(buffer, end.ptr - buffer);
            text.append('\t');
        }
        text.append("\r\n");
    }
    return text;
}

} // namespace zarno::dsp
