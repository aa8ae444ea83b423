// The library's mathematics. Arrays are (pointer, count) pairs; counts below 1 do nothing.

#include "outside/dravik/dravik_internal.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>
#include <vector>

namespace {

using C = std::complex<double>;
constexpr double kPi = std::numbers::pi;

C ToStd(DravikComplex c) {
    return {c.re, c.im};
}
DravikComplex FromStd(C c) {
    return {c.real(), c.imag()};
}

std::size_t Count(int32_t n) {
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

// xorshift64*: the library's one random source, reproducible from its fixed seed.
uint64_t g_state = 0x9E3779B97F4A7C15ull;
double Uniform() {
    g_state ^= g_state >> 12;
    g_state ^= g_state << 25;
    g_state ^= g_state >> 27;
    return static_cast<double>((g_state * 2685821657736338717ull) >> 11) * 0x1.0p-53;
}
double Gauss() {
    const double u = 1.0 - Uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * kPi * Uniform());
}

template <typename T, typename Key> int32_t BestIndex(const T* x, int32_t n, Key key, bool largest) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < Count(n); ++i)
        if (largest ? key(x[i]) > key(x[best]) : key(x[i]) < key(x[best]))
            best = i;
    return static_cast<int32_t>(best);
}
template <typename T, typename Key> double BestValue(const T* x, int32_t n, Key key, bool largest) {
    return n > 0 ? key(x[BestIndex(x, n, key, largest)]) : 0.0;
}

const auto kSelf = [](double v) { return v; };
const auto kRe = [](DravikComplex c) { return c.re; };
const auto kIm = [](DravikComplex c) { return c.im; };
const auto kAbs = [](DravikComplex c) { return std::hypot(c.re, c.im); };

template <typename T, typename F> void Each(T* x, int32_t n, F f) {
    for (std::size_t i = 0; i < Count(n); ++i)
        f(x[i], i);
}

// Modified Bessel function of the first kind, order 0 (the Kaiser window's kernel).
double BesselI0(double x) {
    double sum = 1.0, term = 1.0;
    for (int k = 1; k < 50; ++k) {
        term *= (x / (2.0 * k)) * (x / (2.0 * k));
        sum += term;
        if (term < sum * 1e-17)
            break;
    }
    return sum;
}

double Theta(std::size_t i, int32_t n) {
    return n > 1 ? static_cast<double>(i) / (n - 1) : 0.0;
}

using WindowFn = double (*)(double t, double p); // t in [0, 1] across the window
double WDirihle(double, double) {
    return 1.0;
}
double WHamming(double t, double) {
    return 0.54 - 0.46 * std::cos(2 * kPi * t);
}
double WFeier(double t, double) {
    return 1.0 - std::fabs(2.0 * t - 1.0);
}
double WCosinus(double t, double) {
    return std::sin(kPi * t);
}
double WTukey(double t, double a) {
    a = std::clamp(a, 0.0, 1.0);
    const double edge = std::min(t, 1.0 - t);
    return a == 0.0 || edge >= a / 2 ? 1.0 : 0.5 * (1 - std::cos(2 * kPi * edge / a));
}
double WGauss(double t, double s) {
    s = s > 0 ? s : 0.4;
    const double x = (t - 0.5) / (s * 0.5);
    return std::exp(-x * x / 2);
}
double WGaussF(double t, double s) {
    return WGauss(t, s) * WGauss(t, s);
}
double WPower(double t, double p) {
    return std::pow(std::sin(kPi * t), p > 0 ? p : 1.0);
}
double WKaiser(double t, double b) {
    const double x = 2.0 * t - 1.0;
    return BesselI0(b * std::sqrt(std::max(0.0, 1.0 - x * x))) / BesselI0(b);
}
double WEff(double t, double) { // Blackman-Harris, the most effective of the four-term windows
    const double a = 2 * kPi * t;
    return 0.35875 - 0.48829 * std::cos(a) + 0.14128 * std::cos(2 * a) - 0.01168 * std::cos(3 * a);
}
void MulWindow(double* x, int32_t n, double p, WindowFn w) {
    Each(x, n, [&](double& v, std::size_t i) { v *= w(Theta(i, n), p); });
}
void FillWindow(double* x, int32_t n, double p, WindowFn w) {
    Each(x, n, [&](double& v, std::size_t i) { v = w(Theta(i, n), p); });
}

bool Fft(C* x, std::size_t n, bool inverse) {
    if (n < 2 || (n & (n - 1)) != 0)
        return n < 2;
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(x[i], x[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const C step = std::polar(1.0, (inverse ? 2 : -2) * kPi / static_cast<double>(len));
        for (std::size_t i = 0; i < n; i += len) {
            C w(1.0);
            for (std::size_t k = 0; k < len / 2; ++k, w *= step) {
                const C t = w * x[i + k + len / 2];
                x[i + k + len / 2] = x[i + k] - t;
                x[i + k] += t;
            }
        }
    }
    return true;
}

// Coefficients of Π (z − r_k), highest power first.
std::vector<C> Poly(const C* roots, std::size_t n) {
    std::vector<C> c{1.0};
    for (std::size_t k = 0; k < n; ++k) {
        c.push_back(0.0);
        for (std::size_t i = c.size() - 1; i > 0; --i)
            c[i] -= roots[k] * c[i - 1];
    }
    return c;
}

// A digital low-pass from analog prototype poles by the bilinear transform, unit gain at 0 Hz.
int32_t DigitalLowPass(const std::vector<C>& proto, double cutoff, double* b, double* a) {
    const double warp = std::tan(kPi * std::clamp(cutoff, 1e-6, 0.499999));
    std::vector<C> z, zeros(proto.size(), C(-1.0));
    for (C p : proto)
        z.push_back((1.0 + p * warp) / (1.0 - p * warp));
    const std::vector<C> ca = Poly(z.data(), z.size()), cb = Poly(zeros.data(), zeros.size());
    C sumA = 0, sumB = 0;
    for (std::size_t i = 0; i < ca.size(); ++i) {
        sumA += ca[i];
        sumB += cb[i];
    }
    const double k = std::abs(sumA) / std::abs(sumB);
    for (std::size_t i = 0; i < ca.size(); ++i) {
        a[i] = ca[i].real();
        b[i] = k * cb[i].real();
    }
    return static_cast<int32_t>(ca.size());
}

std::vector<C> ButterPoles(int32_t order) {
    std::vector<C> p;
    for (int32_t k = 0; k < order; ++k)
        p.push_back(std::polar(1.0, kPi / 2 + kPi * (2 * k + 1) / (2.0 * order)));
    return p;
}

std::vector<C> ChebPoles(int32_t order, double rippleDb) {
    const double eps = std::sqrt(std::pow(10.0, std::max(rippleDb, 0.01) / 10.0) - 1.0);
    const double mu = std::asinh(1.0 / eps) / order;
    std::vector<C> p;
    for (int32_t k = 0; k < order; ++k) {
        const double th = kPi * (2 * k + 1) / (2.0 * order);
        p.push_back(C(-std::sinh(mu) * std::sin(th), std::cosh(mu) * std::cos(th)));
    }
    return p;
}

template <typename T>
void IirFilter(const double* b, int32_t nb, const double* a, int32_t na, const T* x, T* y, int32_t n) {
    const double a0 = na > 0 && a[0] != 0.0 ? a[0] : 1.0;
    for (int32_t i = 0; i < n; ++i) {
        T acc{};
        for (int32_t k = 0; k < nb && k <= i; ++k)
            acc += b[k] * x[i - k];
        for (int32_t k = 1; k < na && k <= i; ++k)
            acc -= a[k] * y[i - k];
        y[i] = acc / a0;
    }
}

template <typename T> void ShiftBy(T* x, int32_t n, int32_t k, bool rotate) {
    if (n <= 0)
        return;
    std::vector<T> copy(x, x + n);
    for (int32_t i = 0; i < n; ++i) {
        const int64_t from = int64_t{i} - k;
        if (rotate)
            x[i] = copy[static_cast<std::size_t>(((from % n) + n) % n)];
        else
            x[i] = from >= 0 && from < n ? copy[static_cast<std::size_t>(from)] : T{};
    }
}

} // namespace

namespace dravik {

double ResponseAt(const std::vector<double>& h, double x) {
    C sum = 0;
    for (std::size_t k = 0; k < h.size(); ++k)
        sum += h[k] * std::polar(1.0, -kPi * x * static_cast<double>(k));
    return std::abs(sum);
}

std::vector<double> ResponseDb(const DravikFilterRecord& record, int points) {
    const int32_t N = record.halfLength;
    if (N < 2 || N > 65536 || points < 2)
        return {};
    std::vector<double> h(2 * static_cast<std::size_t>(N) + 1);
    if (FilterACoef(&record, h.data(), static_cast<int32_t>(h.size())) == 0)
        return {};
    h.resize(static_cast<std::size_t>(N)); // the host sums the first N taps
    std::vector<double> db;
    for (int i = 0; i < points; ++i)
        db.push_back(20.0 * std::log10(std::max(ResponseAt(h, double(i) / (points - 1)), 1e-12)));
    return db;
}

} // namespace dravik

extern "C" {

// Scalars
int32_t MemCompare(const void* a, const void* b, int32_t n) {
    return n > 0 ? std::memcmp(a, b, Count(n)) : 0;
}
uint16_t SumByte16(const uint8_t* p, int32_t n) {
    uint16_t s = 0;
    Each(p, n, [&](uint8_t v, std::size_t) { s = static_cast<uint16_t>(s + v); });
    return s;
}
uint32_t SumByte32(const uint8_t* p, int32_t n) {
    uint32_t s = 0;
    Each(p, n, [&](uint8_t v, std::size_t) { s += v; });
    return s;
}
double iPow(double x, int32_t n) {
    double r = 1.0;
    for (int32_t i = 0; i < std::abs(n); ++i)
        r *= x;
    return n < 0 ? 1.0 / r : r;
}
int32_t sign(double x) {
    return (x > 0) - (x < 0);
}
int32_t Make2PowM(int32_t n) {
    int32_t p = 1;
    while (p < n && p < (1 << 30))
        p *= 2;
    return p;
}
double Factorial(int32_t n) {
    double f = 1.0;
    for (int32_t i = 2; i <= n; ++i)
        f *= i;
    return f;
}
int32_t IntLo(double x) {
    return static_cast<int32_t>(std::clamp(std::floor(x), -2147483648.0, 2147483647.0));
}
int32_t IntHi(double x) {
    return static_cast<int32_t>(std::clamp(std::ceil(x), -2147483648.0, 2147483647.0));
}
double Root(double x, int32_t n) {
    if (n == 0)
        return 0.0;
    return x < 0 && n % 2 ? -std::pow(-x, 1.0 / n) : std::pow(x, 1.0 / n);
}
double Frexp10(double x, int32_t* exponent) {
    const int32_t e = x == 0.0 ? 0 : static_cast<int32_t>(std::floor(std::log10(std::fabs(x))));
    if (exponent)
        *exponent = e;
    return x / std::pow(10.0, e);
}
double Kaiser(double x) {
    return BesselI0(x);
}
double ExpOfMinusSqrX_2(double x) {
    return std::exp(-x * x / 2.0);
}
double RandomReley(double sigma) {
    return sigma * std::sqrt(-2.0 * std::log(1.0 - Uniform()));
}
double RandomFi() {
    return 2.0 * kPi * Uniform();
}
double RandomGauss(double mean, double sigma) {
    return mean + sigma * Gauss();
}
double RandomG() {
    return Gauss();
}
int32_t MSequenceLength(int32_t degree) {
    return degree >= 2 && degree <= 20 ? (1 << degree) - 1 : 0;
}
// A maximal-length sequence of ±1 from a Galois shift register with primitive feedback taps.
int32_t MSequence(int32_t degree, double* out) {
    static const uint32_t kTaps[21] = {0,      0,      0x3,    0x6,     0xC,     0x14,    0x30,
                                       0x60,   0xB8,   0x110,  0x240,   0x500,   0x829,   0x100D,
                                       0x2015, 0x6000, 0xD008, 0x12000, 0x20400, 0x40023, 0x90000};
    const int32_t n = MSequenceLength(degree);
    uint32_t reg = 1;
    for (int32_t i = 0; i < n; ++i) {
        const uint32_t bit = reg & 1u;
        out[i] = bit ? 1.0 : -1.0;
        reg >>= 1;
        if (bit)
            reg ^= kTaps[degree];
    }
    return n;
}
void MRandom(double* x, int32_t n) {
    Each(x, n, [](double& v, std::size_t) { v = Uniform(); });
}
void MRandomReley(double* x, int32_t n, double sigma) {
    Each(x, n, [&](double& v, std::size_t) { v = RandomReley(sigma); });
}
void MRandomFi(double* x, int32_t n) {
    Each(x, n, [](double& v, std::size_t) { v = RandomFi(); });
}
void MRandomGauss(double* x, int32_t n, double mean, double sigma) {
    Each(x, n, [&](double& v, std::size_t) { v = RandomGauss(mean, sigma); });
}

// Complex numbers
DravikComplex dComplex(double re, double im) {
    return {re, im};
}
double CompAbsSqr(DravikComplex c) {
    return c.re * c.re + c.im * c.im;
}
double CompAbs(DravikComplex c) {
    return std::hypot(c.re, c.im);
}
DravikComplex CompMul(DravikComplex a, DravikComplex b) {
    return FromStd(ToStd(a) * ToStd(b));
}
DravikComplex CompDiv(DravikComplex a, DravikComplex b) {
    return FromStd(ToStd(a) / ToStd(b));
}
DravikComplex CompMulK(DravikComplex a, double k) {
    return {a.re * k, a.im * k};
}
DravikComplex CompAdd(DravikComplex a, DravikComplex b) {
    return {a.re + b.re, a.im + b.im};
}
DravikComplex CompSub(DravikComplex a, DravikComplex b) {
    return {a.re - b.re, a.im - b.im};
}
double CompArg(DravikComplex c) {
    return std::atan2(c.im, c.re);
}
DravikComplex Comp_iPow(DravikComplex c, int32_t n) {
    C r = 1.0;
    for (int32_t i = 0; i < std::abs(n); ++i)
        r *= ToStd(c);
    return FromStd(n < 0 ? 1.0 / r : r);
}

// Dynamic arrays
std::vector<double>* CreateDoubleArray(int32_t n) {
    return new std::vector<double>(Count(n));
}
void DestroyDoubleArray(std::vector<double>* a) {
    delete a;
}
double* SetDoubleArrayLength(std::vector<double>* a, int32_t n) {
    a->resize(Count(n));
    return a->data();
}
int32_t GetDoubleArrayLength(const std::vector<double>* a) {
    return static_cast<int32_t>(a->size());
}
std::vector<DravikComplex>* CreateComplexArray(int32_t n) {
    return new std::vector<DravikComplex>(Count(n), DravikComplex{0, 0});
}
void DestroyComplexArray(std::vector<DravikComplex>* a) {
    delete a;
}
DravikComplex* SetComplexArrayLength(std::vector<DravikComplex>* a, int32_t n) {
    a->resize(Count(n), DravikComplex{0, 0});
    return a->data();
}
int32_t GetComplexArrayLength(const std::vector<DravikComplex>* a) {
    return static_cast<int32_t>(a->size());
}

// Extremes
double MaxValueN(const double* x, int32_t n) {
    return BestValue(x, n, kSelf, true);
}
double MaxValueN_c(const DravikComplex* x, int32_t n) {
    return BestValue(x, n, kAbs, true);
}
double MaxRe(const DravikComplex* x, int32_t n) {
    return BestValue(x, n, kRe, true);
}
double MaxIm(const DravikComplex* x, int32_t n) {
    return BestValue(x, n, kIm, true);
}
double MaxAbs(const double* x, int32_t n) {
    return BestValue(
        x, n, [](double v) { return std::fabs(v); }, true);
}
int32_t MaxValueNIndex(const double* x, int32_t n) {
    return BestIndex(x, n, kSelf, true);
}
int32_t MaxValueNIndex_c(const DravikComplex* x, int32_t n) {
    return BestIndex(x, n, kAbs, true);
}
int32_t MaxReIndex(const DravikComplex* x, int32_t n) {
    return BestIndex(x, n, kRe, true);
}
int32_t MaxImIndex(const DravikComplex* x, int32_t n) {
    return BestIndex(x, n, kIm, true);
}
int32_t MaxAbsIndex(const double* x, int32_t n) {
    return BestIndex(
        x, n, [](double v) { return std::fabs(v); }, true);
}
double MinValueN(const double* x, int32_t n) {
    return BestValue(x, n, kSelf, false);
}
double MinValueN_c(const DravikComplex* x, int32_t n) {
    return BestValue(x, n, kAbs, false);
}
double MinRe(const DravikComplex* x, int32_t n) {
    return BestValue(x, n, kRe, false);
}
double MinIm(const DravikComplex* x, int32_t n) {
    return BestValue(x, n, kIm, false);
}
double MinAbs(const double* x, int32_t n) {
    return BestValue(
        x, n, [](double v) { return std::fabs(v); }, false);
}
int32_t MinValueNIndex(const double* x, int32_t n) {
    return BestIndex(x, n, kSelf, false);
}
int32_t MinValueNIndex_c(const DravikComplex* x, int32_t n) {
    return BestIndex(x, n, kAbs, false);
}
int32_t MinReIndex(const DravikComplex* x, int32_t n) {
    return BestIndex(x, n, kRe, false);
}
int32_t MinImIndex(const DravikComplex* x, int32_t n) {
    return BestIndex(x, n, kIm, false);
}
int32_t MinAbsIndex(const double* x, int32_t n) {
    return BestIndex(
        x, n, [](double v) { return std::fabs(v); }, false);
}

// Element-wise arithmetic: out[i] = a[i] op b[i] (or op k)
void AddArr(const double* a, const double* b, double* o, int32_t n) {
    Each(o, n, [&](double& v, std::size_t i) { v = a[i] + b[i]; });
}
void AddArr_c(const DravikComplex* a, const DravikComplex* b, DravikComplex* o, int32_t n) {
    Each(o, n, [&](DravikComplex& v, std::size_t i) { v = CompAdd(a[i], b[i]); });
}
void AddKArr(const double* a, double k, double* o, int32_t n) {
    Each(o, n, [&](double& v, std::size_t i) { v = a[i] + k; });
}
void AddKArr_c(const DravikComplex* a, DravikComplex k, DravikComplex* o, int32_t n) {
    Each(o, n, [&](DravikComplex& v, std::size_t i) { v = CompAdd(a[i], k); });
}
void SubArr(const double* a, const double* b, double* o, int32_t n) {
    Each(o, n, [&](double& v, std::size_t i) { v = a[i] - b[i]; });
}
void SubArr_c(const DravikComplex* a, const DravikComplex* b, DravikComplex* o, int32_t n) {
    Each(o, n, [&](DravikComplex& v, std::size_t i) { v = CompSub(a[i], b[i]); });
}
void MulArr(const double* a, const double* b, double* o, int32_t n) {
    Each(o, n, [&](double& v, std::size_t i) { v = a[i] * b[i]; });
}
void MulArr_c(const DravikComplex* a, const DravikComplex* b, DravikComplex* o, int32_t n) {
    Each(o, n, [&](DravikComplex& v, std::size_t i) { v = CompMul(a[i], b[i]); });
}
void MulKArr(const double* a, double k, double* o, int32_t n) {
    Each(o, n, [&](double& v, std::size_t i) { v = a[i] * k; });
}
void MulKArr_c(const DravikComplex* a, double k, DravikComplex* o, int32_t n) {
    Each(o, n, [&](DravikComplex& v, std::size_t i) { v = CompMulK(a[i], k); });
}
// Division by 0 gives 0 rather than an infinity.
void DivArr(const double* a, const double* b, double* o, int32_t n) {
    Each(o, n, [&](double& v, std::size_t i) { v = b[i] != 0.0 ? a[i] / b[i] : 0.0; });
}
void DivArr_c(const DravikComplex* a, const DravikComplex* b, DravikComplex* o, int32_t n) {
    Each(o, n, [&](DravikComplex& v, std::size_t i) {
        v = CompAbsSqr(b[i]) != 0.0 ? CompDiv(a[i], b[i]) : DravikComplex{0, 0};
    });
}
void CopyArr(const double* a, double* o, int32_t n) {
    if (n > 0)
        std::memmove(o, a, Count(n) * sizeof(double));
}
void CopyArr_c(const DravikComplex* a, DravikComplex* o, int32_t n) {
    if (n > 0)
        std::memmove(o, a, Count(n) * sizeof(DravikComplex));
}
// Analog-to-digital: rounds to whole steps.
void ADT(double* x, int32_t n, double step) {
    if (step > 0)
        Each(x, n, [&](double& v, std::size_t) { v = std::round(v / step) * step; });
}
void ADT_c(DravikComplex* x, int32_t n, double step) {
    if (step > 0)
        Each(x, n, [&](DravikComplex& v, std::size_t) {
            v = {std::round(v.re / step) * step, std::round(v.im / step) * step};
        });
}
void LimitArr(double* x, int32_t n, double lo, double hi) {
    Each(x, n, [&](double& v, std::size_t) { v = std::min(std::max(v, lo), hi); });
}
void LimitArr_c(DravikComplex* x, int32_t n, double lo, double hi) {
    Each(x, n, [&](DravikComplex& v, std::size_t) {
        v = {std::min(std::max(v.re, lo), hi), std::min(std::max(v.im, lo), hi)};
    });
}
void FillArr(double* x, int32_t n, double k) {
    Each(x, n, [&](double& v, std::size_t) { v = k; });
}
void FillArr_c(DravikComplex* x, int32_t n, DravikComplex k) {
    Each(x, n, [&](DravikComplex& v, std::size_t) { v = k; });
}
void ZeroArr(double* x, int32_t n) {
    FillArr(x, n, 0.0);
}
void ZeroArr_c(DravikComplex* x, int32_t n) {
    FillArr_c(x, n, DravikComplex{0, 0});
}

// Sums and powers
double ProdAbs(const double* x, int32_t n) {
    double p = 1;
    Each(x, n, [&](double v, std::size_t) { p *= std::fabs(v); });
    return p;
}
double ProdAbs_c(const DravikComplex* x, int32_t n) {
    double p = 1;
    Each(x, n, [&](DravikComplex v, std::size_t) { p *= CompAbs(v); });
    return p;
}
double SumItems(const double* x, int32_t n) {
    double s = 0;
    Each(x, n, [&](double v, std::size_t) { s += v; });
    return s;
}
DravikComplex SumItems_c(const DravikComplex* x, int32_t n) {
    DravikComplex s{0, 0};
    Each(x, n, [&](DravikComplex v, std::size_t) { s = CompAdd(s, v); });
    return s;
}
double AverItems(const double* x, int32_t n) {
    return n > 0 ? SumItems(x, n) / n : 0.0;
}
DravikComplex AverItems_c(const DravikComplex* x, int32_t n) {
    return n > 0 ? CompMulK(SumItems_c(x, n), 1.0 / n) : DravikComplex{0, 0};
}
double SumPower(const double* x, int32_t n) {
    double s = 0;
    Each(x, n, [&](double v, std::size_t) { s += v * v; });
    return s;
}
double SumPower_c(const DravikComplex* x, int32_t n) {
    double s = 0;
    Each(x, n, [&](DravikComplex v, std::size_t) { s += CompAbsSqr(v); });
    return s;
}
double MediumPower(const double* x, int32_t n) {
    return n > 0 ? SumPower(x, n) / n : 0.0;
}
double MediumPower_c(const DravikComplex* x, int32_t n) {
    return n > 0 ? SumPower_c(x, n) / n : 0.0;
}
// 1 where the value (magnitude) reaches the threshold, else 0.
void Comparator_r(const double* x, double* o, int32_t n, double threshold) {
    Each(o, n, [&](double& v, std::size_t i) { v = x[i] >= threshold ? 1.0 : 0.0; });
}
void Comparator_c(const DravikComplex* x, double* o, int32_t n, double threshold) {
    Each(o, n, [&](double& v, std::size_t i) { v = CompAbs(x[i]) >= threshold ? 1.0 : 0.0; });
}
void LimitAbsArr(double* x, int32_t n, double limit) {
    Each(x, n, [&](double& v, std::size_t) { v = std::clamp(v, -std::fabs(limit), std::fabs(limit)); });
}

// Conversions between real and complex arrays
void FillRe(DravikComplex* o, const double* x, int32_t n) {
    Each(o, n, [&](DravikComplex& v, std::size_t i) { v.re = x[i]; });
}
void FillIm(DravikComplex* o, const double* x, int32_t n) {
    Each(o, n, [&](DravikComplex& v, std::size_t i) { v.im = x[i]; });
}
void AddNoise(double* x, int32_t n, double sigma) {
    Each(x, n, [&](double& v, std::size_t) { v += sigma * Gauss(); });
}
void AddNoise_c(DravikComplex* x, int32_t n, double sigma) {
    Each(x, n, [&](DravikComplex& v, std::size_t) {
        v.re += sigma * Gauss();
        v.im += sigma * Gauss();
    });
}
void CompToRe(const DravikComplex* x, double* o, int32_t n) {
    Each(o, n, [&](double& v, std::size_t i) { v = x[i].re; });
}
void CompToIm(const DravikComplex* x, double* o, int32_t n) {
    Each(o, n, [&](double& v, std::size_t i) { v = x[i].im; });
}
void CompToAbs(const DravikComplex* x, double* o, int32_t n) {
    Each(o, n, [&](double& v, std::size_t i) { v = CompAbs(x[i]); });
}
void CompToAbsSqr(const DravikComplex* x, double* o, int32_t n) {
    Each(o, n, [&](double& v, std::size_t i) { v = CompAbsSqr(x[i]); });
}
// Impulse errors: each sample is replaced, with the given probability, by ±amplitude.
void AddErrors(double* x, int32_t n, double probability, double amplitude) {
    Each(x, n, [&](double& v, std::size_t) {
        if (Uniform() < probability)
            v = Uniform() < 0.5 ? -amplitude : amplitude;
    });
}
// Samples further than threshold from both neighbours' mean are replaced by that mean.
void RemoveErrors(double* x, int32_t n, double threshold) {
    for (int32_t i = 1; i + 1 < n; ++i) {
        const double mean = (x[i - 1] + x[i + 1]) / 2;
        if (std::fabs(x[i] - mean) > threshold)
            x[i] = mean;
    }
}
void ReImToAFi(DravikComplex* x, int32_t n) {
    Each(x, n, [](DravikComplex& v, std::size_t) { v = {CompAbs(v), CompArg(v)}; });
}
void AFiToReIm(DravikComplex* x, int32_t n) {
    Each(x, n, [](DravikComplex& v, std::size_t) { v = FromStd(std::polar(v.re, v.im)); });
}
void ShiftArr(double* x, int32_t n, int32_t k) {
    ShiftBy(x, n, k, false);
}
void ShiftArr_c(DravikComplex* x, int32_t n, int32_t k) {
    ShiftBy(x, n, k, false);
}
void RotateArr(double* x, int32_t n, int32_t k) {
    ShiftBy(x, n, k, true);
}
void RotateArr_c(DravikComplex* x, int32_t n, int32_t k) {
    ShiftBy(x, n, k, true);
}

// Windows: *_r_d multiplies an array by the window, *_d fills an array with it.
void winDirihle_r_d(double* x, int32_t n) {
    MulWindow(x, n, 0, WDirihle);
}
void winDirihle_d(double* x, int32_t n) {
    FillWindow(x, n, 0, WDirihle);
}
void winHamming_r_d(double* x, int32_t n) {
    MulWindow(x, n, 0, WHamming);
}
void winHamming_d(double* x, int32_t n) {
    FillWindow(x, n, 0, WHamming);
}
void winFeier_r_d(double* x, int32_t n) {
    MulWindow(x, n, 0, WFeier);
}
void winFeier_d(double* x, int32_t n) {
    FillWindow(x, n, 0, WFeier);
}
void winCosinus_r_d(double* x, int32_t n) {
    MulWindow(x, n, 0, WCosinus);
}
void winCosinus_d(double* x, int32_t n) {
    FillWindow(x, n, 0, WCosinus);
}
void winTukey_r_d(double* x, int32_t n, double alpha) {
    MulWindow(x, n, alpha, WTukey);
}
void winTukey_d(double* x, int32_t n, double alpha) {
    FillWindow(x, n, alpha, WTukey);
}
void winGauss_r_d(double* x, int32_t n, double sigma) {
    MulWindow(x, n, sigma, WGauss);
}
void winGauss_d(double* x, int32_t n, double sigma) {
    FillWindow(x, n, sigma, WGauss);
}
void winGauss_f_r_d(double* x, int32_t n, double sigma) {
    MulWindow(x, n, sigma, WGaussF);
}
void winGauss_f_d(double* x, int32_t n, double sigma) {
    FillWindow(x, n, sigma, WGaussF);
}
void winPower_r_d(double* x, int32_t n, double p) {
    MulWindow(x, n, p, WPower);
}
void winPower_d(double* x, int32_t n, double p) {
    FillWindow(x, n, p, WPower);
}
void winKaiser_r_d(double* x, int32_t n, double beta) {
    MulWindow(x, n, beta, WKaiser);
}
void winKaiser_d(double* x, int32_t n, double beta) {
    FillWindow(x, n, beta, WKaiser);
}
void winEff_r_d(double* x, int32_t n) {
    MulWindow(x, n, 0, WEff);
}
void winEff_d(double* x, int32_t n) {
    FillWindow(x, n, 0, WEff);
}

// Transforms (radix 2; returns 0 for other lengths and leaves the data). The inverse is scaled by 1/n.
int32_t FFT_c(DravikComplex* x, int32_t n, int32_t inverse) {
    std::vector<C> v(Count(n));
    Each(x, n, [&](DravikComplex c, std::size_t i) { v[i] = ToStd(c); });
    if (!Fft(v.data(), v.size(), inverse != 0))
        return 0;
    Each(x, n, [&](DravikComplex& c, std::size_t i) { c = FromStd(inverse ? v[i] / double(n) : v[i]); });
    return 1;
}
int32_t FFT_r(const double* x, DravikComplex* o, int32_t n) {
    Each(o, n, [&](DravikComplex& c, std::size_t i) { c = {x[i], 0.0}; });
    return FFT_c(o, n, 0);
}

// Filters
void PolyCoefs(const DravikComplex* roots, int32_t n, DravikComplex* coefs) {
    std::vector<C> r(Count(n));
    Each(roots, n, [&](DravikComplex c, std::size_t i) { r[i] = ToStd(c); });
    const std::vector<C> c = Poly(r.data(), r.size());
    for (std::size_t i = 0; i < c.size(); ++i)
        coefs[i] = FromStd(c[i]);
}
void ButtAp(int32_t order, DravikComplex* poles) {
    const auto p = ButterPoles(order);
    for (std::size_t i = 0; i < p.size(); ++i)
        poles[i] = FromStd(p[i]);
}
void ChebAp(int32_t order, double rippleDb, DravikComplex* poles) {
    const auto p = ChebPoles(order, rippleDb);
    for (std::size_t i = 0; i < p.size(); ++i)
        poles[i] = FromStd(p[i]);
}
// Low-pass designs: cutoff as a fraction of the sampling rate; b and a hold order + 1 values.
int32_t Butter(int32_t order, double cutoff, double* b, double* a) {
    return order > 0 && order <= 20 ? DigitalLowPass(ButterPoles(order), cutoff, b, a) : 0;
}
int32_t Cheb(int32_t order, double rippleDb, double cutoff, double* b, double* a) {
    return order > 0 && order <= 20 ? DigitalLowPass(ChebPoles(order, rippleDb), cutoff, b, a) : 0;
}
void Filter(const double* b, int32_t nb, const double* a, int32_t na, const double* x, double* y, int32_t n) {
    IirFilter(b, nb, a, na, x, y, n);
}
void Filter_c(const double* b, int32_t nb, const double* a, int32_t na, const DravikComplex* x,
              DravikComplex* y, int32_t n) {
    std::vector<C> in(Count(n)), out(Count(n));
    Each(x, n, [&](DravikComplex c, std::size_t i) { in[i] = ToStd(c); });
    IirFilter(b, nb, a, na, in.data(), out.data(), n);
    Each(y, n, [&](DravikComplex& c, std::size_t i) { c = FromStd(out[i]); });
}
// The ideal low-pass of n taps centred on n / 2, cutoff as a fraction of the highest frequency.
void FilterProto(double* h, int32_t n, double cutoff) {
    Each(h, n, [&](double& v, std::size_t i) {
        const double j = static_cast<double>(i) - n / 2;
        v = j == 0 ? cutoff : std::sin(kPi * cutoff * j) / (kPi * j);
    });
}
int32_t FilterACoef(const DravikFilterRecord* r, double* h, int32_t limit) {
    const int32_t N = r->halfLength;
    const double fs = r->fs;
    if (N < 2 || fs == 0.0 || !std::isfinite(fs) || 2 * int64_t{N} + 1 > limit)
        return 0;
    const int32_t places = 2 * N + 1;
    std::fill(h, h + places, 0.0);
    const uint32_t bands = std::min(static_cast<uint32_t>(r->bandCount), 100u);
    for (uint32_t b = 0; b < bands; ++b) {
        const DravikBand band = r->bands[b];
        const double g = kPi / fs * band.f1, l = kPi / fs * band.f2;
        for (int32_t j = -N; j < N; ++j)
            h[j + N] +=
                band.gain * (j == 0 ? (g - l) / kPi : (std::sin(j * g) - std::sin(j * l)) / (j * kPi));
    }
    const double H = N - 1.0, beta = r->beta;
    for (int32_t i = 0; i < places; ++i) {
        const double t = (i - H) / H, v = 1 - t * t, q = beta * v * v / 2 * (beta * v * v / 2);
        double term = 1, sum = 0;
        for (int k = 1; k <= 10; ++k)
            sum += term *= q;
        h[i] *= sum / 10;
    }
    return places;
}
// Filters x with the record's first N taps centred on N / 2, as the host does.
void FilterA(const DravikFilterRecord* r, const double* x, double* y, int32_t n) {
    std::vector<double> h(2 * Count(int32_t{r->halfLength}) + 1);
    if (r->halfLength > 65536 || FilterACoef(r, h.data(), static_cast<int32_t>(h.size())) == 0) {
        CopyArr(x, y, n);
        return;
    }
    const int32_t N = r->halfLength;
    std::vector<double> in(x, x + Count(n));
    for (int32_t i = 0; i < n; ++i) {
        double s = 0;
        for (int32_t k = 0; k < N; ++k) {
            const int64_t j = int64_t{i} - N / 2 + k;
            if (j >= 0 && j < n)
                s += h[static_cast<std::size_t>(k)] * in[static_cast<std::size_t>(j)];
        }
        y[i] = s;
    }
}
void FilterA_c(const DravikFilterRecord* r, const DravikComplex* x, DravikComplex* y, int32_t n) {
    std::vector<double> re(Count(n)), im(Count(n));
    CompToRe(x, re.data(), n);
    CompToIm(x, im.data(), n);
    FilterA(r, re.data(), re.data(), n);
    FilterA(r, im.data(), im.data(), n);
    Each(y, n, [&](DravikComplex& c, std::size_t i) { c = {re[i], im[i]}; });
}

// Statistics
double Sigma_r(const double* x, int32_t n) {
    if (n < 2)
        return 0.0;
    const double m = AverItems(x, n);
    double s = 0;
    Each(x, n, [&](double v, std::size_t) { s += (v - m) * (v - m); });
    return std::sqrt(s / (n - 1));
}
double Sigma_c(const DravikComplex* x, int32_t n) {
    if (n < 2)
        return 0.0;
    const DravikComplex m = AverItems_c(x, n);
    double s = 0;
    Each(x, n, [&](DravikComplex v, std::size_t) { s += CompAbsSqr(CompSub(v, m)); });
    return std::sqrt(s / (n - 1));
}
// Counts of the values in `bins` equal classes over [lo, hi]; values outside are not counted.
void Gistogramma_r(const double* x, int32_t n, int32_t* counts, int32_t bins, double lo, double hi) {
    if (bins <= 0 || !(hi > lo))
        return;
    std::fill(counts, counts + bins, 0);
    Each(x, n, [&](double v, std::size_t) {
        if (v >= lo && v <= hi)
            ++counts[std::min(bins - 1, static_cast<int32_t>((v - lo) / (hi - lo) * bins))];
    });
}
void Gistogramma_c(const DravikComplex* x, int32_t n, int32_t* counts, int32_t bins, double lo, double hi) {
    std::vector<double> a(Count(n));
    CompToAbs(x, a.data(), n);
    Gistogramma_r(a.data(), n, counts, bins, lo, hi);
}

} // extern "C"
