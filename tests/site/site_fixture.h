#pragma once
// Pile-like traces for the site tests: a blow, a toe echo a set time later, and seeded noise; and
// SEG-Y and DDB files of them written byte by byte, not with the program's own writer.

#include "app/formats/ddb_header.h"
#include "tests/support/sgy_fixture.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

namespace zarno::testing {

struct PileTrace {
    int samples = 2048;
    double intervalS = 20e-6;
    int blowAt = 100;
    double toeMs = 4.0;
    double toeSize = 0.4; // the echo against the blow
    double noise = 0.0;   // standard deviation against the blow
    double sign = 1.0;    // -1: a reversed sensor
    unsigned seed = 1;

    std::vector<double> build() const {
        std::vector<double> t(std::size_t(samples), 0.0);
        const int width = int(std::lround(0.6e-3 / intervalS)); // a 0.6 ms half-sine
        auto pulse = [&](int at, double size) {
            for (int k = 0; k < width && at + k < samples; ++k)
                t[std::size_t(at + k)] += size * std::sin(std::numbers::pi * (k + 0.5) / width);
        };
        pulse(blowAt, 1.0);
        pulse(blowAt + int(std::lround(toeMs * 1e-3 / intervalS)), toeSize);
        std::mt19937 random(seed);
        std::normal_distribution<double> gauss(0.0, noise > 0.0 ? noise : 1.0);
        for (double& v : t)
            v = sign * (v + (noise > 0.0 ? gauss(random) : 0.0));
        return t;
    }
};

// A big-endian SEG-Y file of float traces (all of one length).
inline QByteArray SgyOf(const std::vector<std::vector<double>>& traces, double intervalS) {
    SgyFixture f;
    f.format = 5;
    f.samplesPerTrace = quint16(traces.front().size());
    f.interval = quint16(std::lround(intervalS * 1e6));
    for (const auto& t : traces) {
        std::vector<quint64> words;
        for (double v : t)
            words.push_back(FloatBits(float(v)));
        f.traces.push_back(std::move(words));
    }
    return f.build();
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A DDB recording of float traces (channels interleaved sample by sample), sampled at rateHz.
inline QByteArray DdbOf(const std::vector<std::vector<double>>& traces, quint16 rateHz) {
    DDBHeader h;
    std::memcpy(h.ident, "SITE", 4);
    h.sampleRate = rateHz;
    h.channels = quint16(traces.size());
    h.samplesPerChannel = qint32(traces.front().size());
    h.formatCode = 5;
    const auto head = EncodeDDBHeader(h);
    QByteArray out(reinterpret_cast<const char*>(head.data()), qsizetype(head.size()));
    for (std::size_t s = 0; s < traces.front().size(); ++s)
        for (const auto& t : traces) {
            uchar word[4];
            qToLittleEndian(FloatBits(float(t[s])), word);
            out.append(reinterpret_cast<const char*>(word), 4);
        }
    return out;
}

} // namespace zarno::testing
