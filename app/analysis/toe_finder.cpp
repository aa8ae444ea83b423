#include "app/analysis/toe_finder.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace zarno::analysis {
namespace {

// The blow: the first excursion reaching this share of the trace's largest one (a free toe's echo can
// be larger than the blow itself, so the largest excursion alone is not the blow).
constexpr double kBlowShareOfLargest = 0.5;
// The pulse's extent: where it stays above this share of its peak over the baseline.
constexpr double kPulseEdgeShare = 0.05;
// The trend under an echo is fitted as a polynomial of this degree over the window: a straight line
// (a curve takes too much of the echoes themselves).
constexpr int kTrendDegree = 1;
// Margin either side of the pulse in the matched filter's window, in pulse widths: room for the
// straight line to see the trend under an echo.
constexpr double kMarginWidths = 1.0;
// An echo must exceed this many spreads of the amplitudes noise alone would give, and this many of
// the robust spread of all amplitudes (which also holds what the line cannot follow).
constexpr double kWhiteNoiseSpreads = 6;
constexpr double kBackgroundSpreads = 5;
// Nothing below this share of the blow is an echo, however quiet the record (a record without noise
// would otherwise show its rounding as echoes).
constexpr double kMinEchoAmplitude = 0.02;
// Echoes closer than this many pulse widths are one echo to the matched filter.
constexpr double kEchoSeparationWidths = 0.6;
// More echoes than a record of one blow holds above its noise: a bound on the work, not a rule.
constexpr size_t kMostEchoes = 64;
// An anomaly is an echo of at least this share of the blow: weaker ones are the soil's doing (the
// shaft's resistance reshapes the wave a little all along), not the pile's.
constexpr double kMinAnomalyStrength = 0.15;
// Rounds of placing every echo again against the others: two settle pairs of overlapping echoes.
constexpr int kRefineRounds = 3;
// Searching starts this many pulse widths after the blow: closer echoes overlap the blow itself.
constexpr double kFirstLagWidths = 1.0;
// A repeat is where earlier delays predict it, within this share of its delay (and two samples), and
// no stronger than this many times the product of its parents' amplitudes (for 2τ, whose own size is
// half the square of τ's, a tighter factor: a toe at twice a neck's depth is no repeat of the neck).
constexpr double kRepeatTimeShare = 0.03;
constexpr double kRepeatSlackSamples = 2;
constexpr double kRepeatStrengthFactor = 3.0;
constexpr double kSelfRepeatStrengthFactor = 1.5;
// A later echo at least this share of the strongest takes the toe from it (the strongest may be a
// neck above a weakly reflecting toe).
constexpr double kLaterToeShare = 0.6;

double Median(std::vector<double> v) {
    if (v.empty())
        return 0;
    const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

size_t At(int32_t i) {
    return static_cast<size_t>(i);
}

// The pulse as a template: its samples above the baseline, zero-padded by the margin on both sides,
// and the same made orthogonal to a constant and a straight line over the window.
struct Template {
    std::vector<double> padded;     // the pulse in its window
    std::vector<double> orthogonal; // the part no line can fit
    double energy = 0;              // Σ orthogonal²
    int32_t margin = 0;
};

Template MakeTemplate(std::span<const double> trace, const BlowPulse& blow) {
    Template t;
    const int32_t width = blow.WidthSamples();
    t.margin = std::max<int32_t>(2, static_cast<int32_t>(std::lround(kMarginWidths * width)));
    const int32_t size = width + 2 * t.margin;
    t.padded.assign(At(size), 0);
    for (int32_t k = 0; k < width; ++k)
        t.padded[At(t.margin + k)] = trace[At(blow.startIndex + k)] - blow.baseline;
    // The trend a window may hold: a polynomial of low degree, made orthonormal over the window
    // (Gram-Schmidt), then taken out of the pulse.
    std::vector<std::vector<double>> basis;
    for (int degree = 0; degree <= kTrendDegree; ++degree) {
        std::vector<double> b(At(size));
        for (int32_t k = 0; k < size; ++k)
            b[At(k)] = std::pow((k - (size - 1) / 2.0) / size, degree);
        for (const auto& q : basis) {
            const double dot = std::inner_product(b.begin(), b.end(), q.begin(), 0.0);
            for (int32_t k = 0; k < size; ++k)
                b[At(k)] -= dot * q[At(k)];
        }
        const double norm = std::sqrt(std::inner_product(b.begin(), b.end(), b.begin(), 0.0));
        for (double& v : b)
            v /= norm;
        basis.push_back(std::move(b));
    }
    t.orthogonal = t.padded;
    for (const auto& q : basis) {
        const double dot = std::inner_product(t.orthogonal.begin(), t.orthogonal.end(), q.begin(), 0.0);
        for (int32_t k = 0; k < size; ++k)
            t.orthogonal[At(k)] -= dot * q[At(k)];
    }
    for (double v : t.orthogonal)
        t.energy += v * v;
    return t;
}

// What the matched filter makes of one pulse of amplitude 1 at a lag δ away: response[δ + last].
std::vector<double> PulseResponse(const Template& t) {
    const auto size = static_cast<int32_t>(t.padded.size());
    std::vector<double> response(At(2 * size - 1), 0);
    for (int32_t d = -(size - 1); d < size; ++d) {
        double s = 0;
        for (int32_t k = 0; k < size; ++k) {
            const int32_t m = k - d;
            if (m >= 0 && m < size)
                s += t.orthogonal[At(k)] * t.padded[At(m)];
        }
        response[At(d + size - 1)] = s / t.energy;
    }
    return response;
}

std::vector<double> Amplitudes(std::span<const double> x, const BlowPulse& blow, const Template& t) {
    const auto n = static_cast<int32_t>(x.size());
    const auto size = static_cast<int32_t>(t.orthogonal.size());
    const int32_t first = blow.startIndex - t.margin; // the window's first sample at lag 0
    std::vector<double> a(At(std::max(0, n - blow.index)), 0);
    if (t.energy <= 0)
        return a;
    for (int32_t lag = 0; lag < static_cast<int32_t>(a.size()); ++lag) {
        const int32_t s = first + lag;
        if (s < 0 || s + size > n)
            continue;
        double sum = 0;
        for (int32_t k = 0; k < size; ++k)
            sum += x[At(s + k)] * t.orthogonal[At(k)];
        a[At(lag)] = sum / t.energy;
    }
    return a;
}

struct Echo {
    double lag = 0; // samples after the blow's peak, refined between samples
    int32_t sample = 0;
    double amplitude = 0; // relative to the blow, signed: + the blow's sign
    bool repeat = false;
};

// The filter's answer to a pulse of amplitude 1 at d samples away, d between samples included.
double ResponseAt(const std::vector<double>& response, double d) {
    const double at = d + static_cast<double>(response.size() / 2);
    if (!(at >= 0) || at > static_cast<double>(response.size() - 1))
        return 0;
    const auto k = static_cast<size_t>(at);
    const double f = at - static_cast<double>(k);
    return k + 1 < response.size() ? response[k] * (1 - f) + response[k + 1] * f : response[k];
}

// The peak of x nearest `around` with the sign `sign`, refined between samples by a parabola
// through it and its neighbours: its position and height.
std::pair<double, double> PeakNear(const std::vector<double>& x, int32_t from, int32_t to, double sign) {
    int32_t best = from;
    for (int32_t k = from; k <= to; ++k)
        if (sign * x[At(k)] > sign * x[At(best)])
            best = k;
    if (best <= 0 || best + 1 >= static_cast<int32_t>(x.size()))
        return {best, x[At(best)]};
    const double l = x[At(best - 1)], c = x[At(best)], r = x[At(best + 1)];
    const double curve = l - 2 * c + r;
    const double shift = curve != 0 ? std::clamp(0.5 * (l - r) / curve, -0.5, 0.5) : 0;
    return {best + shift, c - 0.25 * (l - r) * shift};
}

// Echoes one by one, strongest first: each found echo's whole response (its side lobes included) is
// taken out of the amplitudes before the next is looked for, so no side lobe passes for an echo.
// Then each echo is placed again against the others' responses, so that two echoes closer than a
// pulse (the top and the bottom of a short neck) do not push each other apart. `rest` receives what
// no echo explains.
std::vector<Echo> PickEchoes(const std::vector<double>& a, const std::vector<double>& response,
                             int32_t firstLag, int32_t lastLag, int32_t separation, double threshold,
                             size_t most, std::vector<double>& rest) {
    std::vector<Echo> echoes;
    rest = a;
    const auto last = static_cast<int32_t>(a.size()) - 1;
    const auto reach = static_cast<int32_t>(response.size() / 2);
    const auto subtract = [&](std::vector<double>& x, double lag, double amplitude, double sign) {
        const auto centre = static_cast<int32_t>(std::lround(lag));
        for (int32_t k = std::max(0, centre - reach); k <= std::min(last, centre + reach); ++k)
            x[At(k)] -= sign * amplitude * ResponseAt(response, k - lag);
    };
    std::vector<bool> taken(a.size(), false); // lags within the separation of an echo found
    while (echoes.size() < most) {
        int32_t best = -1;
        for (int32_t k = firstLag; k <= lastLag; ++k)
            if (!taken[At(k)] && std::abs(rest[At(k)]) > threshold &&
                (best < 0 || std::abs(rest[At(k)]) > std::abs(rest[At(best)])))
                best = k;
        if (best < 0)
            break;
        // A peak at the range's edge may belong to something outside it: only interior peaks count.
        if (best == firstLag || best == lastLag || std::abs(rest[At(best - 1)]) > std::abs(rest[At(best)]) ||
            std::abs(rest[At(best + 1)]) > std::abs(rest[At(best)])) {
            rest[At(best)] = 0;
            continue;
        }
        const auto [lag, amplitude] = PeakNear(rest, best, best, rest[At(best)] > 0 ? 1 : -1);
        echoes.push_back({lag, best, amplitude, false});
        subtract(rest, lag, amplitude, 1);
        for (int32_t k = std::max(0, best - separation + 1); k <= std::min(last, best + separation - 1); ++k)
            taken[At(k)] = true;
    }
    for (int round = 0; round < kRefineRounds; ++round)
        for (Echo& e : echoes) {
            subtract(rest, e.lag, e.amplitude, -1); // rest now holds this echo alone
            const double sign = e.amplitude > 0 ? 1 : -1;
            const int32_t from = std::max(1, e.sample - separation / 2);
            const int32_t to = std::min(last - 1, e.sample + separation / 2);
            const auto [lag, amplitude] = PeakNear(rest, from, to, sign);
            if (sign * amplitude > 0) {
                e.lag = lag;
                e.sample = static_cast<int32_t>(std::lround(lag));
                e.amplitude = amplitude;
            }
            subtract(rest, e.lag, e.amplitude, 1);
        }
    std::sort(echoes.begin(), echoes.end(), [](const Echo& x, const Echo& y) { return x.lag < y.lag; });
    return echoes;
}

bool Near(double lag, double predicted) {
    return std::abs(lag - predicted) <= std::max(kRepeatSlackSamples, kRepeatTimeShare * predicted);
}

// An echo that earlier ones explain. A wave reflected at delays τi and τk comes back again at τi + τk
// (2τ for τi = τk) with the product of their signs and about half the product of their amplitudes
// (the free head doubles what it shows); a wave caught between reflectors below the head comes back
// at τi + τk − τm, weaker by the third reflection. Where several such paths meet they add up, so a
// repeat may be a few times that strong; what is stronger still is a reflector of its own.
void MarkRepeats(std::vector<Echo>& echoes, double threshold) {
    for (size_t j = 0; j < echoes.size(); ++j) {
        Echo& e = echoes[j];
        const double strength = std::abs(e.amplitude) - threshold;
        for (size_t i = 0; i < j && !e.repeat; ++i)
            for (size_t k = i; k < j && !e.repeat; ++k) {
                const double product = echoes[i].amplitude * echoes[k].amplitude;
                const double factor = i == k ? kSelfRepeatStrengthFactor : kRepeatStrengthFactor;
                e.repeat = (product > 0) == (e.amplitude > 0) && strength <= factor * std::abs(product) &&
                           Near(e.lag, echoes[i].lag + echoes[k].lag);
                for (size_t m = 0; m < i && !e.repeat; ++m)
                    e.repeat = strength <= kRepeatStrengthFactor * std::abs(product * echoes[m].amplitude) &&
                               Near(e.lag, echoes[i].lag + echoes[k].lag - echoes[m].lag);
            }
    }
}

Anomaly AnomalyOf(const Echo& e, int32_t blowIndex, double dtS, double velocityMps) {
    Anomaly a;
    a.index = blowIndex + e.sample;
    a.timeMs = e.lag * dtS * 1000;
    a.depthM = e.lag * dtS * std::abs(velocityMps) / 2;
    a.kind = e.amplitude > 0 ? Anomaly::Kind::Reduction : Anomaly::Kind::Increase;
    a.strength = std::abs(e.amplitude);
    return a;
}

} // namespace

std::optional<BlowPulse> FindBlow(std::span<const double> trace) {
    const auto n = static_cast<int32_t>(trace.size());
    if (n < 3 || !std::all_of(trace.begin(), trace.end(), [](double v) { return std::isfinite(v); }))
        return std::nullopt;
    const double x0 = trace[0];
    double largest = 0;
    for (double v : trace)
        largest = std::max(largest, std::abs(v - x0));
    if (largest <= 0)
        return std::nullopt;
    int32_t first = 0;
    while (std::abs(trace[At(first)] - x0) < kBlowShareOfLargest * largest)
        ++first;
    BlowPulse b;
    b.sign = trace[At(first)] > x0 ? 1 : -1;
    // The baseline from what comes before the blow; the first sample when the recording starts with it.
    b.baseline = first > 0 ? Median(std::vector<double>(trace.begin(), trace.begin() + first)) : x0;
    // The peak: the highest sample while the trace stays above half the largest excursion (noise on
    // the rise would stop a walk uphill early).
    b.index = first;
    for (int32_t k = first; k < n && std::abs(trace[At(k)] - x0) >= kBlowShareOfLargest * largest &&
                            b.sign * (trace[At(k)] - x0) > 0;
         ++k)
        if (b.sign * trace[At(k)] > b.sign * trace[At(b.index)])
            b.index = k;
    b.amplitude = b.sign * (trace[At(b.index)] - b.baseline);
    if (!(b.amplitude > 0))
        return std::nullopt;
    const double edge = kPulseEdgeShare * b.amplitude;
    b.startIndex = b.index;
    while (b.startIndex > 0 && b.sign * (trace[At(b.startIndex - 1)] - b.baseline) > edge)
        --b.startIndex;
    // A pulse falls about as fast as it rose, some hammers slower: under a drift the trace may never
    // come back to the level it left, so the fall is cut at three times the rise.
    const int32_t longestFall = 3 * std::max(1, b.index - b.startIndex) + 1;
    b.endIndex = b.index;
    while (b.endIndex + 1 < n && b.endIndex - b.index < longestFall &&
           b.sign * (trace[At(b.endIndex + 1)] - b.baseline) > edge)
        ++b.endIndex;
    return b;
}

double NoiseSpread(std::span<const double> trace) {
    if (trace.size() < 3)
        return 0;
    std::vector<double> d(trace.size() - 2);
    for (size_t i = 0; i < d.size(); ++i)
        d[i] = std::abs(trace[i] - 2 * trace[i + 1] + trace[i + 2]);
    // Second differences of white noise of spread σ have the spread σ·√6; 1.4826 turns a median of
    // absolute values into a spread.
    return 1.4826 * Median(std::move(d)) / std::sqrt(6.0);
}

std::vector<double> EchoAmplitudes(std::span<const double> trace, const BlowPulse& blow) {
    return Amplitudes(trace, blow, MakeTemplate(trace, blow));
}

ToeResult FindToe(std::span<const double> trace, double dtS, double velocityMps) {
    ToeResult result;
    const std::optional<BlowPulse> blow = FindBlow(trace);
    if (!blow || !(dtS > 0) || !std::isfinite(velocityMps))
        return result;
    result.blowIndex = blow->index;

    // The trace without the blow, so that only what follows it answers the filter.
    std::vector<double> x(trace.begin(), trace.end());
    for (int32_t k = blow->startIndex; k <= blow->endIndex; ++k)
        x[At(k)] = blow->baseline;
    const Template t = MakeTemplate(trace, *blow);
    const std::vector<double> a = Amplitudes(x, *blow, t);
    const std::vector<double> response = PulseResponse(t);

    const int32_t width = blow->WidthSamples();
    const int32_t firstLag = std::max<int32_t>(2, static_cast<int32_t>(std::ceil(kFirstLagWidths * width)));
    const auto size = static_cast<int32_t>(t.padded.size());
    // The window at lag k covers startIndex - margin + k onwards; the last lag keeps it in the trace.
    const int32_t lastFit = std::min(static_cast<int32_t>(a.size()) - 1,
                                     static_cast<int32_t>(trace.size()) - size - (blow->startIndex - t.margin));
    if (lastFit <= firstLag + 1)
        return result;

    // The noise the amplitudes carry: from the trace's own noise, and from what remains of the
    // amplitudes once every echo above that noise is taken out (pulses the soil has reshaped, trends
    // no line follows). Echoes are then taken only above both.
    const double white = NoiseSpread(std::span(x).subspan(At(blow->endIndex))) / std::sqrt(t.energy);
    const int32_t separation =
        std::max<int32_t>(2, static_cast<int32_t>(std::lround(kEchoSeparationWidths * width)));
    std::vector<double> rest;
    PickEchoes(a, response, firstLag, lastFit, separation, std::max(kWhiteNoiseSpreads * white, kMinEchoAmplitude),
               kMostEchoes, rest);
    std::vector<double> left(rest.begin() + firstLag, rest.begin() + lastFit + 1);
    for (double& v : left)
        v = std::abs(v);
    const double background = 1.4826 * Median(std::move(left));
    const double threshold =
        std::max({kWhiteNoiseSpreads * white, kBackgroundSpreads * background, kMinEchoAmplitude});
    std::vector<Echo> echoes =
        PickEchoes(a, response, firstLag, lastFit, separation, threshold, kMostEchoes, rest);
    MarkRepeats(echoes, threshold);

    // The toe: the strongest echo that is no repeat, or a later one nearly as strong.
    int toe = -1;
    for (int i = 0; i < static_cast<int>(echoes.size()); ++i) {
        const Echo& e = echoes[At(i)];
        if (e.repeat)
            continue;
        if (toe < 0 || std::abs(e.amplitude) >= kLaterToeShare * std::abs(echoes[At(toe)].amplitude))
            toe = i;
    }
    // Confidence: the margin over the noise, the margin over any echo after it that no repeat
    // explains, and a repeat where the toe predicts one.
    double confidence = 0;
    if (toe >= 0) {
        const Echo& e = echoes[At(toe)];
        const double margin = std::clamp((std::abs(e.amplitude) / threshold - 1) / 2, 0.0, 1.0);
        double rival = 0;
        bool repeated = false;
        for (size_t i = At(toe) + 1; i < echoes.size(); ++i) {
            if (!echoes[i].repeat)
                rival = std::max(rival, std::abs(echoes[i].amplitude));
            repeated |= Near(echoes[i].lag, 2 * e.lag) && echoes[i].amplitude > 0;
        }
        const double clear = 1 - std::min(1.0, rival / std::abs(e.amplitude));
        confidence = std::clamp((0.5 + 0.5 * margin) * clear * (repeated ? 1.0 : 0.85), 0.0, 1.0);
    }
    const double dtMs = dtS * 1000;
    if (toe >= 0 && confidence >= kMinToeConfidence) {
        const Echo& e = echoes[At(toe)];
        result.found = true;
        result.index = blow->index + e.sample;
        result.timeMs = e.lag * dtMs;
        result.lengthM = e.lag * dtS * std::abs(velocityMps) / 2;
        result.toeReversed = e.amplitude < 0;
    }
    result.confidence = confidence;
    // Anomalies lie above the toe, or above the echo that came nearest to being it: an unsure toe
    // is not offered as an anomaly either.
    for (size_t i = 0; i < echoes.size() && static_cast<int>(i) < toe; ++i) {
        if (!echoes[i].repeat && std::abs(echoes[i].amplitude) >= kMinAnomalyStrength)
            result.anomalies.push_back(AnomalyOf(echoes[i], blow->index, dtS, velocityMps));
    }
    return result;
}

} // namespace zarno::analysis
