#include "app/site/blow_stack.h"

#include <algorithm>

namespace zarno::site {

namespace {

// A blow fitting the reference pulse at less than this part of the typical blow's size is taken for
// no blow at all.
constexpr double kSmallestBlow = 0.25;

// Blows cut to a common length with the blow at the same sample, each scaled by its blow's size.
struct Aligned {
    std::vector<std::vector<double>> traces;
    std::vector<int> blows; // which input blow each trace is
    int blowIndex = 0;
    int pulseWidth = 1; // the blows' pulse width in samples (their median)
};

int Median(std::vector<int> v) {
    std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// The blow pulse of the reference blow, from one pulse width before its peak to two after: what
// every blow is matched against.
struct PulseTemplate {
    std::vector<double> values;
    int lead = 0; // samples of values before the peak
};

PulseTemplate TemplateOf(std::span<const double> trace, int peak, int width) {
    PulseTemplate t;
    const int from = std::max(0, peak - width), to = std::min(int(trace.size()), peak + 2 * width);
    t.lead = peak - from;
    t.values.assign(trace.begin() + from, trace.begin() + to);
    const double sign = trace[std::size_t(peak)] < 0.0 ? -1.0 : 1.0;
    for (double& v : t.values)
        v *= sign;
    return t;
}

// sign * trace against the template with the template's peak at position.
double Match(std::span<const double> trace, double sign, const PulseTemplate& ref, int position) {
    double sum = 0.0;
    for (std::size_t i = 0; i < ref.values.size(); ++i) {
        const int at = position - ref.lead + int(i);
        if (at >= 0 && at < int(trace.size()))
            sum += ref.values[i] * sign * trace[std::size_t(at)];
    }
    return sum;
}

// Where the blow of trace lies, to the sample, and which way it points: the finder's peak of a noisy
// pulse wanders by a few samples, and a few of those between blows would blur the average and pull
// sound blows under the correlation gate. Each blow is placed where it matches the reference pulse
// best (either way up, so that a reversed sensor shows as a reversed trace), within one pulse width
// of its own peak; a peak found far from where the others lie (a noise spike taken for the blow) is
// searched for around theirs instead.
struct Placed {
    int at = 0;
    double sign = 1.0;
};

Placed Refine(std::span<const double> trace, const PulseTemplate& ref, int own, int usual, int width) {
    const int centre = std::abs(own - usual) > 2 * width ? usual : own;
    Placed best{centre, 1.0};
    double bestScore = -1.0;
    for (int p = std::max(0, centre - width); p <= std::min(int(trace.size()) - 1, centre + width); ++p) {
        const double score = Match(trace, 1.0, ref, p);
        if (std::abs(score) > bestScore) {
            bestScore = std::abs(score);
            best = {p, score < 0.0 ? -1.0 : 1.0};
        }
    }
    return best;
}

Aligned Align(const std::vector<std::span<const double>>& blows, const BlowSearch& findBlow,
              std::vector<RejectedBlow>& rejected) {
    Aligned out;
    std::vector<int> at, widths;
    for (std::size_t i = 0; i < blows.size(); ++i) {
        const BlowMark mark = findBlow(blows[i]);
        const int b = mark.index;
        if (b < 0 || std::size_t(b) >= blows[i].size() || blows[i][std::size_t(b)] == 0.0) {
            rejected.push_back({int(i), std::numeric_limits<double>::quiet_NaN()});
            continue;
        }
        out.blows.push_back(int(i));
        at.push_back(b);
        widths.push_back(std::max(1, mark.widthSamples));
    }
    if (out.blows.empty())
        return out;
    out.pulseWidth = Median(widths);
    // The reference is a blow found where most are; every blow is placed and sized against it.
    const int usual = Median(at);
    std::size_t refK = 0;
    for (std::size_t k = 1; k < at.size(); ++k)
        if (std::abs(at[k] - usual) < std::abs(at[refK] - usual))
            refK = k;
    const auto& refTrace = blows[std::size_t(out.blows[refK])];
    const PulseTemplate ref = TemplateOf(refTrace, at[refK], out.pulseWidth);
    double refEnergy = 0.0;
    for (double v : ref.values)
        refEnergy += v * v;
    const double refPeak = std::abs(refTrace[std::size_t(at[refK])]);
    std::vector<double> sizes(at.size());
    for (std::size_t k = 0; k < at.size(); ++k) {
        const auto& src = blows[std::size_t(out.blows[k])];
        const Placed placed = Refine(src, ref, at[k], usual, out.pulseWidth);
        at[k] = placed.at;
        // The blow's size as its least-squares fit to the reference pulse, not its noisy peak sample.
        sizes[k] = Match(src, placed.sign, ref, at[k]) / refEnergy * refPeak;
    }
    // A blow that hardly matches the pulse is no blow the others can be compared with: scaled up to
    // the others' size its noise would swamp the mean.
    std::vector<double> positive;
    for (double size : sizes)
        positive.push_back(std::max(size, 0.0));
    std::nth_element(positive.begin(), positive.begin() + std::ptrdiff_t(positive.size() / 2), positive.end());
    const double typical = positive[positive.size() / 2];
    Aligned kept;
    kept.pulseWidth = out.pulseWidth;
    std::vector<int> keptAt;
    std::vector<double> keptScale;
    for (std::size_t k = 0; k < at.size(); ++k) {
        if (!(sizes[k] > kSmallestBlow * typical)) {
            rejected.push_back({out.blows[k], std::numeric_limits<double>::quiet_NaN()});
            continue;
        }
        kept.blows.push_back(out.blows[k]);
        keptAt.push_back(at[k]);
        keptScale.push_back(1.0 / sizes[k]);
    }
    out = std::move(kept);
    at = std::move(keptAt);
    if (out.blows.empty())
        return out;
    int before = std::numeric_limits<int>::max(), after = std::numeric_limits<int>::max();
    for (std::size_t k = 0; k < at.size(); ++k) {
        before = std::min(before, at[k]);
        after = std::min(after, int(blows[std::size_t(out.blows[k])].size()) - at[k]);
    }
    out.blowIndex = before;
    for (std::size_t k = 0; k < at.size(); ++k) {
        const auto& src = blows[std::size_t(out.blows[k])];
        std::vector<double> t(std::size_t(before + after));
        for (std::size_t s = 0; s < t.size(); ++s)
            t[s] = src[std::size_t(at[k] - before) + s] * keptScale[k];
        out.traces.push_back(std::move(t));
    }
    return out;
}

std::vector<double> Mean(const std::vector<std::vector<double>>& traces, const std::vector<std::size_t>& members) {
    std::vector<double> mean(traces.front().size(), 0.0);
    for (std::size_t m : members)
        for (std::size_t s = 0; s < mean.size(); ++s)
            mean[s] += traces[m][s];
    for (double& v : mean)
        v /= double(members.size());
    return mean;
}

// The pile's record on the mean: from the blow to pastToe after the toe, or to the end without one.
std::size_t RecordEnd(const TraceToe& toe, std::size_t length, double intervalS, double pastToeS) {
    if (!toe.found || toe.index < 0)
        return length;
    const auto past = std::size_t(std::lround(pastToeS / intervalS));
    return std::min(length, std::size_t(toe.index) + past + 1);
}

// A centred moving average over half the blow's pulse: what a pile can echo is no sharper than the
// blow that struck it, so this keeps the echoes and takes out most of the sensor's white noise,
// which would otherwise decide the correlation of a noisy but sound blow.
std::vector<double> Smoothed(std::span<const double> t, int pulseWidth) {
    const auto half = std::size_t(std::max(0, pulseWidth / 2));
    if (half == 0)
        return {t.begin(), t.end()};
    std::vector<double> prefix(t.size() + 1, 0.0);
    for (std::size_t i = 0; i < t.size(); ++i)
        prefix[i + 1] = prefix[i] + t[i];
    std::vector<double> out(t.size());
    for (std::size_t i = 0; i < t.size(); ++i) {
        const std::size_t from = i >= half ? i - half : 0, to = std::min(t.size(), i + half + 1);
        out[i] = (prefix[to] - prefix[from]) / double(to - from);
    }
    return out;
}

} // namespace

double Correlation(std::span<const double> a, std::span<const double> b, std::size_t from, std::size_t to) {
    to = std::min({to, a.size(), b.size()});
    if (to <= from + 1)
        return 0.0;
    const double n = double(to - from);
    double ma = 0.0, mb = 0.0;
    for (std::size_t i = from; i < to; ++i) {
        ma += a[i];
        mb += b[i];
    }
    ma /= n;
    mb /= n;
    double sab = 0.0, saa = 0.0, sbb = 0.0;
    for (std::size_t i = from; i < to; ++i) {
        const double da = a[i] - ma, db = b[i] - mb;
        sab += da * db;
        saa += da * da;
        sbb += db * db;
    }
    return saa > 0.0 && sbb > 0.0 ? sab / std::sqrt(saa * sbb) : 0.0;
}

BlowStack StackBlows(const std::vector<std::span<const double>>& blows, double intervalS,
                     const BlowSearch& findBlow, const ToeSearch& findToe, const BlowStackOptions& options) {
    BlowStack stack;
    Aligned aligned = Align(blows, findBlow, stack.rejected);
    stack.blowIndex = aligned.blowIndex;
    std::vector<std::vector<double>> smooth;
    for (const auto& t : aligned.traces)
        smooth.push_back(Smoothed(t, aligned.pulseWidth));
    std::vector<std::size_t> members(aligned.traces.size());
    for (std::size_t k = 0; k < members.size(); ++k)
        members[k] = k;
    while (!members.empty()) {
        stack.average = Mean(aligned.traces, members);
        stack.toe = findToe(stack.average, intervalS);
        if (members.size() == 1)
            break;
        const std::vector<double> smoothMean = Mean(smooth, members);
        const std::size_t end = RecordEnd(stack.toe, stack.average.size(), intervalS, options.pastToeS);
        const std::size_t from = std::size_t(aligned.blowIndex);
        double worst = 2.0;
        std::size_t worstAt = 0;
        for (std::size_t k = 0; k < members.size(); ++k) {
            // The mean of the others, from the mean of all without this blow.
            const auto& own = smooth[members[k]];
            std::vector<double> others(own.size());
            const double n = double(members.size());
            for (std::size_t s = 0; s < own.size(); ++s)
                others[s] = (smoothMean[s] * n - own[s]) / (n - 1.0);
            const double c = Correlation(own, others, from, end);
            if (c < worst) {
                worst = c;
                worstAt = k;
            }
        }
        if (worst >= options.minCorrelation)
            break;
        if (members.size() == 2) {
            for (std::size_t m : members)
                stack.rejected.push_back({aligned.blows[m], worst});
            members.clear();
            break;
        }
        stack.rejected.push_back({aligned.blows[members[worstAt]], worst});
        members.erase(members.begin() + std::ptrdiff_t(worstAt));
    }
    std::sort(stack.rejected.begin(), stack.rejected.end(),
              [](const RejectedBlow& a, const RejectedBlow& b) { return a.blow < b.blow; });
    for (std::size_t m : members)
        stack.used.push_back(aligned.blows[m]);
    stack.blowOf = aligned.blows;
    stack.blows = std::move(aligned.traces);
    if (members.empty()) {
        stack.average.clear();
        stack.toe = {};
    }
    return stack;
}

} // namespace zarno::site
