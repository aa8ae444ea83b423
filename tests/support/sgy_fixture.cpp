#include "tests/support/sgy_fixture.h"

#include <QFile>
#include <QtEndian>

#include <cmath>
#include <numbers>

namespace zarno::testing {

namespace {
constexpr quint16 kIntegerFormat = 2;
} // namespace

SgyFixture SgyFixture::OfSamples(const std::vector<std::vector<double>>& samples, quint16 format,
                                 quint16 intervalUs) {
    SgyFixture f;
    f.format = format;
    f.interval = intervalUs;
    f.samplesPerTrace = samples.empty() ? 0 : quint16(samples.front().size());
    f.textual.clear(); // a blank textual header, as the instrument's recordings have
    for (const auto& trace : samples) {
        std::vector<quint64>& words = f.traces.emplace_back();
        for (double v : trace)
            words.push_back(format == kIntegerFormat ? quint32(qint32(v)) : FloatBits(float(v)));
    }
    return f;
}

int SgyFixture::width() const {
    switch (format) {
    case 8:
    case 16:
        return 1;
    case 3:
    case 11:
        return 2;
    case 6:
        return 8;
    default:
        return 4;
    }
}

QByteArray SgyFixture::build() const {
    const qsizetype traceSize = 240 + width() * qsizetype(samplesPerTrace);
    QByteArray out(3600 + qsizetype(traces.size()) * traceSize, '\0');
    QByteArray text(3200, ' ');
    text.replace(0, textual.size(), textual);
    out.replace(0, 3200, text);
    put16(out, 3200 + 12, quint16(traces.size()));
    put16(out, 3200 + 16, interval);
    put16(out, 3200 + 18, interval);
    put16(out, 3200 + 20, samplesPerTrace);
    put16(out, 3200 + 22, samplesPerTrace);
    put16(out, 3200 + 24, format);
    for (qsizetype i = 0; i < qsizetype(traces.size()); ++i) {
        const qsizetype at = 3600 + i * traceSize;
        put32(out, at + 0, quint32(i + 1));
        put32(out, at + 4, quint32(i + 1));
        put32(out, at + 12, quint32(i + 1));
        put32(out, at + 36, quint32(-5 - i)); // a negative 32-bit field
        put16(out, at + 68, 0xFFFF);          // a 16-bit field with its high bit set
        put16(out, at + 88, 1);
        put16(out, at + 114, samplesPerTrace);
        put16(out, at + 116, interval);
        put16(out, at + 118, format);
        put16(out, at + 120, quint16(7 + i));
        const auto& words = traces[std::size_t(i)];
        for (qsizetype k = 0; k < qsizetype(words.size()) && k < samplesPerTrace; ++k)
            putSample(out, at + 240 + width() * k, words[std::size_t(k)]);
    }
    return out;
}

std::vector<double> HalfSinePile(std::size_t ns, std::size_t lag, double scale) {
    std::vector<double> x(ns, 0.0);
    for (std::size_t i = 0; i < 12 && 20 + lag + i < ns; ++i) {
        const double s = scale * std::sin(std::numbers::pi * double(i) / 12.0);
        x[20 + i] += s;
        x[20 + lag + i] += 0.4 * s;
    }
    return x;
}

bool SgyFixture::write(const QString& path) const {
    const QByteArray bytes = build();
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void SgyFixture::put16(QByteArray& out, qsizetype at, quint16 v) const {
    auto* p = reinterpret_cast<uchar*>(out.data()) + at;
    littleEndian ? qToLittleEndian(v, p) : qToBigEndian(v, p);
}

void SgyFixture::put32(QByteArray& out, qsizetype at, quint32 v) const {
    auto* p = reinterpret_cast<uchar*>(out.data()) + at;
    littleEndian ? qToLittleEndian(v, p) : qToBigEndian(v, p);
}

void SgyFixture::putSample(QByteArray& out, qsizetype at, quint64 v) const {
    auto* p = reinterpret_cast<uchar*>(out.data()) + at;
    switch (width()) {
    case 1:
        *p = uchar(v);
        break;
    case 2:
        put16(out, at, quint16(v));
        break;
    case 8:
        littleEndian ? qToLittleEndian(v, p) : qToBigEndian(v, p);
        break;
    default:
        put32(out, at, quint32(v));
        break;
    }
}

} // namespace zarno::testing
