#include "app/site/blow_stack.h"

#include <algorithm>

namespace zarno::site {

namespace {

// Blows cut to a common length with the blow at the same sample, each scaled by its blow's size.
struct Aligned {
    std::vector<std::vector<double>> traces;
    std::vector<int> blows; // which input blow each trace is
    int blowIndex = 0;
    int pulseWidth = 1; // the blows' pulse width in samples (their median)
};

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
    std::nth_element(widths.begin(), widths.begin() + std::ptrdiff_t(widths.size() / 2), widths.end());
    out.pulseWidth = widths[widths.size() / 2];
    int before = std::numeric_limits<int>::max(), after = std::numeric_limits<int>::max();
    for (std::size_t k = 0; k < at.size(); ++k) {
        before = std::min(before, at[k]);
        after = std::min(after, int(blows[std::size_t(out.blows[k])].size()) - at[k]);
    }
    out.blowIndex = before;
    for (std::size_t k = 0; k < at.size(); ++k) {
        const auto& src = blows[std::size_t(out.blows[k])];
        const double scale = 1.0 / std::abs(src[std::size_t(at[k])]);
        std::vector<double> t(std::size_t(before + after));
        for (std::size_t s = 0; s < t.size(); ++s)
            t[s] = src[std::size_t(at[k] - before) + s] * scale;
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
    const Aligned aligned = Align(blows, findBlow, stack.rejected);
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
    if (members.empty()) {
        stack.average.clear();
        stack.toe = {};
        return stack;
    }
    stack.blowIndex = aligned.blowIndex;
    for (std::size_t m : members)
        stack.used.push_back(aligned.blows[m]);
    return stack;
}

} // namespace zarno::site
