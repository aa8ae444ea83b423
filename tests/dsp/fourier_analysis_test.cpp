#include "app/dsp/fourier_analysis.h"

#include <QList>
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>
#include <random>
#include <vector>

using namespace zarno::dsp;
using Complex = std::complex<double>;

namespace {

std::vector<Complex> PlainDft(const std::vector<Complex>& x, bool inverse) {
    const std::size_t n = x.size();
    std::vector<Complex> out(n);
    const double sign = inverse ? 1.0 : -1.0;
    for (std::size_t k = 0; k < n; ++k)
        for (std::size_t j = 0; j < n; ++j)
            out[k] += x[j] * std::polar(1.0, sign * 2.0 * std::numbers::pi * double((k * j) % n) / double(n));
    return out;
}

std::vector<Complex> Random(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> d(-1, 1);
    std::vector<Complex> x(n);
    for (auto& v : x)
        v = Complex(d(gen), d(gen));
    return x;
}

void ExpectNear(const std::vector<Complex>& a, const std::vector<Complex>& b, double tolerance) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        ASSERT_LT(std::abs(a[i] - b[i]), tolerance) << i;
}

TEST(Spectrum, FourierTransformIsThePlainDftForPowersOfTwo) {
    for (std::size_t n : {1u, 2u, 4u, 8u, 16u, 64u, 256u, 1024u}) {
        for (bool inverse : {false, true}) {
            SCOPED_TRACE(::testing::Message() << n << (inverse ? " inverse" : " forward"));
            std::vector<Complex> x = Random(n, unsigned(n));
            const std::vector<Complex> expected = PlainDft(x, inverse);
            ASSERT_TRUE(FourierTransform(inverse, x));
            ExpectNear(x, expected, 1e-9 * double(n));
        }
    }
}

TEST(Spectrum, OtherLengthsAreRefusedByTheRadix2TransformButTransformedExactly) {
    for (std::size_t n : {3u, 5u, 6u, 12u, 100u, 1000u}) {
        SCOPED_TRACE(n);
        std::vector<Complex> x = Random(n, unsigned(n));
        const std::vector<Complex> before = x;
        EXPECT_FALSE(FourierTransform(false, x));
        EXPECT_EQ(x, before);
        ExpectNear(DiscreteFourierTransform(x), PlainDft(x, false), 1e-9 * double(n));
    }
}

TEST(Spectrum, WindowFactors) {
    struct Case {
        FftWindow window;
        std::size_t j, n;
        double expected;
    };
    const Case cases[] = {
        {FftWindow::Hamming, 0, 1024, 0.08},         {FftWindow::BlackmanHarris, 0, 1024, 0.00006},
        {FftWindow::Rectangular, 0, 1024, 1.0},      {FftWindow::Hamming, 512, 1024, 1.0},
        {FftWindow::BlackmanHarris, 512, 1024, 1.0}, {FftWindow::Hamming, 0, 0, 0.08},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.window) << " " << c.j << "/" << c.n);
        EXPECT_NEAR(WindowFactor(c.window, c.j, c.n), c.expected, 1e-12);
    }
}

TEST(Spectrum, ScalesOfKnownTraces) {
    const std::size_t n = 64;
    std::vector<double> constant(n, 3.5), zero(n, 0.0), tone(n);
    for (std::size_t j = 0; j < n; ++j)
        tone[j] = 8388608.0 * std::cos(2 * std::numbers::pi * 4.0 * double(j) / double(n));
    std::vector<double> out(n);

    ComputeSpectrum(constant, FftWindow::Rectangular, SpectrumScale::Linear, out);
    EXPECT_NEAR(out[0], 1.0, 1e-12);
    for (std::size_t k = 1; k < n; ++k)
        ASSERT_NEAR(out[k], 0.0, 1e-12) << k;

    ComputeSpectrum(zero, FftWindow::Hamming, SpectrumScale::Linear, out);
    EXPECT_EQ(out, std::vector<double>(n, 0.0));
    ComputeSpectrum(zero, FftWindow::Hamming, SpectrumScale::Logarithmic, out);
    EXPECT_EQ(out, std::vector<double>(n, -144.0));

    // Full-scale cosine at bin 4: magnitude 2^23 · n / 2, so 20·log10(n / 2) dB in bins 4 and n − 4.
    ComputeSpectrum(tone, FftWindow::Rectangular, SpectrumScale::Logarithmic, out);
    EXPECT_NEAR(out[4], 20 * std::log10(32.0), 1e-9);
    EXPECT_NEAR(out[60], 20 * std::log10(32.0), 1e-9);
    EXPECT_EQ(out[5], -144.0);

    // A length that is not a power of two still gives the true bins.
    std::vector<double> odd(100), oddOut(100);
    for (std::size_t j = 0; j < odd.size(); ++j)
        odd[j] = std::sin(2 * std::numbers::pi * 7.0 * double(j) / 100.0);
    ComputeSpectrum(odd, FftWindow::Rectangular, SpectrumScale::Linear, oddOut);
    EXPECT_NEAR(oddOut[7], 1.0, 1e-12);
    EXPECT_NEAR(oddOut[93], 1.0, 1e-12);
    EXPECT_NEAR(oddOut[8], 0.0, 1e-9);
}

TEST(Spectrum, AxisStepAndShownBins) {
    EXPECT_DOUBLE_EQ(SpectrumFrequencyStep(1024, 0.1), 9.765625);
    EXPECT_EQ(ShownSpectrumBins(1024), 512);
    EXPECT_EQ(SpectrumFrequencyStep(0, 0.1), 1.0);
    EXPECT_EQ(SpectrumFrequencyStep(1024, 0.0), 1.0);
}

TEST(Spectrum, TextFileHasOneLinePerBinAndATabAfterEachValue) {
    std::vector<double> a(1024), b(1024);
    for (std::size_t k = 0; k < a.size(); ++k) {
        a[k] = -144.0 + double(k) * 0.125;
        b[k] = 1.0 / double(k + 1) - 0.25;
    }
    const std::span<const double> spectra[] = {a, b};
    const QByteArray text = SpectrumText(spectra);
    const QList<QByteArray> lines = text.split('\n');
    ASSERT_EQ(lines.size(), 1025); // 1024 lines and what follows the last "\n"
    EXPECT_TRUE(lines.last().isEmpty());
    for (std::size_t k = 0; k < a.size(); ++k) {
        char expected[128];
        std::snprintf(expected, sizeof expected, "%f\t%f\t\r", a[k], b[k]);
        ASSERT_EQ(lines[qsizetype(k)], QByteArray(expected)) << k;
    }
    EXPECT_EQ(SpectrumText({}), QByteArray());
}

} // namespace
