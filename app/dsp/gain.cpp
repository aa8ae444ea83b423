#include "app/dsp/gain.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace zarno::dsp {

namespace {

int32_t Int32At(const QByteArray& bytes, qsizetype offset) {
    return qFromLittleEndian<int32_t>(bytes.constData() + offset);
}

void MakeNeutral(GainSetting& gain, int32_t ns) {
    gain.points = ns;
    gain.curve.assign(static_cast<std::size_t>(ns), 1.0);
}

} // namespace

GainSetting ParseVaryBytes(const QByteArray& bytes, int32_t ns) {
    ns = std::max(ns, 0);
    GainSetting gain;
    gain.curve.assign(static_cast<std::size_t>(ns), 1.0);
    if (bytes.size() >= kVaryHeaderBytes) {
        const int32_t count = std::max(Int32At(bytes, 0), 0);
        gain.first = std::max(Int32At(bytes, 4), 0);
        const qsizetype stored = (bytes.size() - kVaryHeaderBytes) / 8;
        const int32_t wanted = std::min(count, ns);
        const int32_t read = static_cast<int32_t>(std::min<qsizetype>(wanted, stored));
        for (int32_t i = 0; i < read; ++i)
            gain.curve[static_cast<std::size_t>(i)] =
                qFromLittleEndian<double>(bytes.constData() + kVaryHeaderBytes + 8 * qsizetype{i});
        gain.points = read;
    }
    if (gain.points <= 0)
        MakeNeutral(gain, ns);
    return gain;
}

GainSetting LoadVaryFile(const QString& dir, int32_t ns, MissingFile missing) {
    const qint64 maxBytes = kVaryHeaderBytes + 8 * qint64{std::max(ns, 0)};
    const SettingsRead read = ReadSettingsFile(dir, kVaryFileName, maxBytes, missing);
    GainSetting gain = ParseVaryBytes(read.outcome == SettingsRead::Existed ? read.bytes : QByteArray(), ns);
    gain.second = 10;
    return gain;
}

QByteArray VaryBytes(const GainSetting& gain) {
    const int32_t points = std::clamp(gain.points, 0, static_cast<int32_t>(gain.curve.size()));
    QByteArray bytes(kVaryHeaderBytes + 8 * qsizetype{points}, '\0');
    qToLittleEndian<int32_t>(points, bytes.data());
    qToLittleEndian<int32_t>(gain.first, bytes.data() + 4);
    for (int32_t i = 0; i < points; ++i)
        qToLittleEndian<double>(gain.curve[static_cast<std::size_t>(i)],
                                bytes.data() + kVaryHeaderBytes + 8 * qsizetype{i});
    return bytes;
}

bool SaveVaryFile(const QString& dir, const GainSetting& gain) {
    return WriteSettingsFile(dir, kVaryFileName, VaryBytes(gain));
}

void ApplyCurve(std::span<const double> curve, std::span<const double> in, std::span<double> out) {
    const std::size_t n = std::min({curve.size(), in.size(), out.size()});
    for (std::size_t k = 0; k < n; ++k)
        out[k] = curve[k] * in[k];
}

std::vector<double> ResampleCurve(std::span<const double> curve, int32_t first, int32_t last) {
    const int64_t ns = static_cast<int64_t>(curve.size());
    if (first < 0 || last < first || last >= ns)
        return {};
    const int64_t m = int64_t{last} - first + 1;
    const int64_t r = ns / m;
    if (r < 1)
        return {};
    std::vector<double> out(static_cast<std::size_t>(m));
    for (int64_t i = 0; i < m; ++i) {
        double sum = 0.0;
        for (int64_t j = i * r; j < std::min((i + 1) * r, ns); ++j)
            sum += curve[static_cast<std::size_t>(j)];
        out[static_cast<std::size_t>(i)] = sum / static_cast<double>(r);
    }
    return out;
}

void ApplyCurveInWindow(std::span<const double> resampled, int32_t first, std::span<const double> in,
                        std::span<double> out) {
    if (first < 0)
        return;
    const std::size_t start = static_cast<std::size_t>(first);
    const std::size_t end = std::min({start + resampled.size(), in.size(), out.size()});
    for (std::size_t k = start; k < end; ++k)
        out[k] = resampled[k - start] * in[k];
}

} // namespace zarno::dsp
