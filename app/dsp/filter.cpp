#include "app/dsp/filter.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <new>
#include <numbers>

namespace zarno::dsp {

namespace {

// Σ for k from 1 to 10 of (x / 2)^(2k): the shape series, with no factorials and no leading 1.
double ShapeSeries(double x) {
    const double q = (x / 2.0) * (x / 2.0);
    double term = 1.0;
    double sum = 0.0;
    for (int k = 1; k <= 10; ++k) {
        term *= q;
        sum += term;
    }
    return sum;
}

std::size_t Places(const FilterSettings& s) {
    return 2 * static_cast<std::size_t>(s.halfLength) + 1;
}

} // namespace

uint32_t BandsInUse(const FilterSettings& s) {
    return std::min(static_cast<uint32_t>(s.bandCount), static_cast<uint32_t>(kFilterBandSlots));
}

bool DescribesFilter(const FilterSettings& s) {
    const double fs = s.fs;
    return s.halfLength >= 2 && fs != 0.0 && std::isfinite(fs);
}

std::vector<double> BandResponse(const FilterSettings& s) {
    const int64_t N = s.halfLength;
    std::vector<double> h(Places(s), 0.0);
    const double w = std::numbers::pi / s.fs;
    for (uint32_t b = 0; b < BandsInUse(s); ++b) {
        const FilterBand band = s.bands[b];
        const double g = w * band.f1;
        const double l = w * band.f2;
        for (int64_t j = -N; j < N; ++j) {
            const double jd = static_cast<double>(j);
            const double c = j == 0 ? (g - l) / std::numbers::pi
                                    : (std::sin(jd * g) - std::sin(jd * l)) / (jd * std::numbers::pi);
            h[static_cast<std::size_t>(j + N)] += band.gain * c;
        }
    }
    return h;
}

void ApplyShapeWindow(const FilterSettings& s, std::vector<double>& h) {
    const double H = static_cast<double>(s.halfLength) - 1.0;
    const double beta = s.beta;
    for (std::size_t i = 0; i < h.size(); ++i) {
        const double t = (static_cast<double>(i) - H) / H;
        const double v = 1.0 - t * t;
        h[i] *= ShapeSeries(beta * v * v) / 10.0;
    }
}

std::vector<double> DesignResponse(const FilterSettings& s) {
    if (!DescribesFilter(s))
        return {};
    std::vector<double> h = BandResponse(s);
    ApplyShapeWindow(s, h);
    return h;
}

std::vector<double> LeadingSums(std::span<const double> h, int32_t halfLength, std::span<const double> x) {
    const int64_t N = std::min<int64_t>(halfLength, static_cast<int64_t>(h.size()));
    const int64_t length = static_cast<int64_t>(x.size());
    if (N <= 0 || length == 0)
        return {};
    std::vector<double> sums(static_cast<std::size_t>(length + N - 1));
    for (int64_t m = 0; m < static_cast<int64_t>(sums.size()); ++m) {
        const int64_t start = m - (N - 1);
        // Only the taps whose sample lies inside the trace contribute.
        const int64_t kFrom = std::max<int64_t>(0, -start);
        const int64_t kTo = std::min<int64_t>(N, length - start);
        double sum = 0.0;
        for (int64_t k = kFrom; k < kTo; ++k)
            sum += h[static_cast<std::size_t>(k)] * x[static_cast<std::size_t>(start + k)];
        sums[static_cast<std::size_t>(m)] = sum;
    }
    return sums;
}

int64_t FilterDelay(std::span<const double> leading, int32_t halfLength, std::span<const double> x) {
    const auto largest = [](std::span<const double> v) {
        return std::max_element(v.begin(), v.end(), [](double a, double b) { return std::fabs(a) < std::fabs(b); }) -
               v.begin();
    };
    if (leading.empty() || x.empty())
        return 0;
    const int64_t lead = (halfLength - 1) - largest(leading) + largest(x);
    return std::clamp<int64_t>(lead, 0, std::max(halfLength - 1, 0));
}

FilterOutcome FilterTrace(const FilterSettings& s, std::span<const double> in, std::span<double> out,
                          Prompts& prompts) {
    const std::size_t L = std::min(in.size(), out.size());
    if (!DescribesFilter(s)) {
        std::copy_n(in.begin(), L, out.begin());
        return FilterOutcome::PassedThrough;
    }
    std::vector<double> h;
    std::vector<double> x;
    try {
        if (s.halfLength > kMaxFilterHalfLength)
            throw std::bad_alloc();
        h = DesignResponse(s);
        x.assign(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(L));
    } catch (const std::bad_alloc&) {
        prompts.message(QCoreApplication::translate("zarno::Dsp", "Ошибка памяти при создании фильтра"),
                        QCoreApplication::translate("zarno::Dsp", "Ошибка!"), PromptIcon::Stop);
        return FilterOutcome::NoMemory;
    }
    // The taps are one side of the designed response, rising to its peak, so the sum lags the
    // input by a delay that depends on the pulse's width as well as on the taps: read from the
    // trace, it puts the strongest pulse (the impact) back where it was, and the reflections, of
    // the same shape, with it.
    std::vector<double> leading;
    try {
        leading = LeadingSums(h, s.halfLength, x);
    } catch (const std::bad_alloc&) {
        prompts.message(QCoreApplication::translate("zarno::Dsp", "Ошибка памяти при создании фильтра"),
                        QCoreApplication::translate("zarno::Dsp", "Ошибка!"), PromptIcon::Stop);
        return FilterOutcome::NoMemory;
    }
    const int64_t delay = FilterDelay(leading, s.halfLength, x);
    const int64_t first = (s.halfLength - 1) - delay;
    for (std::size_t n = 0; n < L; ++n)
        out[n] = leading[static_cast<std::size_t>(first) + n];
    return FilterOutcome::Filtered;
}

} // namespace zarno::dsp
