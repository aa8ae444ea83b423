#include "device/sample_set.h"

#include "app/formats/ddb_header.h"
#include "app/remotedisk/wire_fields.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace zarno::device {
using namespace wire;
namespace fs = std::filesystem;
namespace {

constexpr double kIntegerCounts = 20000; // a blow of 1 as a 32-bit integer sample

struct Features {
    std::vector<analysis::ImpedanceSection> sections;
    bool socketed = false;
};

SampleRecording Recording(std::string path, double length, double rate, uint32_t samples, uint16_t channels,
                          uint16_t format, bool inKhz, Features features = {}) {
    SampleRecording r;
    r.path = std::move(path);
    r.spec.lengthM = length;
    r.spec.sampleRateHz = rate;
    r.spec.samples = samples;
    r.spec.sections = std::move(features.sections);
    r.spec.socketedToe = features.socketed;
    r.channels = channels;
    r.format = format;
    r.frequencyInKhz = inKhz;
    return r;
}

// A neck or a bulge of 0.6 m whose top lies at `topM`.
Features Section(double topM, double ratio) {
    return {{{topM, topM + 0.6, ratio}}, false};
}

const char* const kReadme = "Synthetic pile recordings written by zarno-device make-samples.\r\n"
                            "Each trace is one hammer blow on a modelled pile (a one-dimensional wave\r\n"
                            "model with shaft friction): the blow, the toe echo after 2L/V and its\r\n"
                            "repeats, echoes of necks and bulges, a pre-trigger and noise. Traces of\r\n"
                            "one file are blows on the same pile. MANIFEST.TXT gives each recording's\r\n"
                            "pile length at a wave velocity of 3600 m/s, its toe and its sections.\r\n";

bool WriteFileBytes(const fs::path& path, const void* data, size_t size, std::string* error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
        *error = "cannot write " + path.string();
        return false;
    }
    return true;
}

uint32_t SampleWord(double value, uint16_t format) {
    if (format == 5) {
        const float f = static_cast<float>(value);
        uint32_t word = 0;
        std::memcpy(&word, &f, sizeof word);
        return word;
    }
    return static_cast<uint32_t>(static_cast<int32_t>(std::lround(value * kIntegerCounts)));
}

} // namespace

std::vector<SampleRecording> SampleRecordings() {
    std::vector<SampleRecording> set = {
        Recording("PILE06.DDB", 6, 10000, 1024, 1, 2, false),
        Recording("PILE12.DDB", 12, 25000, 2048, 1, 5, true),
        Recording("PILE18.DDB", 18, 25000, 2048, 2, 2, true),
        Recording("TWOCH12.DDB", 12, 10000, 1024, 2, 5, false),
        Recording("DEFECT12.DDB", 12, 25000, 2048, 1, 2, true, Section(5.0, 0.6)),
        Recording("SOCKET09.DDB", 9, 20000, 2048, 1, 5, false, {{}, true}),
        Recording("BULGE15.DDB", 15, 50000, 4096, 2, 2, true, Section(6.0, 1.6)),
    };
    // A site of 18 piles from 6 to 14.5 m: more entries than one listing answer holds. One has a
    // neck and one a toe in rock, as a site has.
    for (int i = 0; i < 18; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "SITE1/P%02d.DDB", i + 1);
        const bool fast = i % 2 == 1;
        const double length = 6 + 0.5 * i;
        Features features;
        if (i == 4)
            features = Section(std::round(length * 0.4 * 10) / 10, 0.65);
        features.socketed = i == 10;
        set.push_back(Recording(name, length, fast ? 25000 : 10000, fast ? 2048 : 1024,
                                static_cast<uint16_t>(i % 3 == 2 ? 2 : 1), static_cast<uint16_t>(i % 4 < 2 ? 2 : 5),
                                fast, features));
    }
    for (size_t i = 0; i < set.size(); ++i) {
        set[i].spec.seed = 1000 + i;
        set[i].profile = static_cast<uint16_t>(i + 1);
        // Blows land a little differently on every pile: pre-triggers of 0.3 to 1.1 ms, softer and
        // harder hammers, a little more noise now and then.
        set[i].spec.preTriggerS = 0.0003 + 0.0002 * static_cast<double>(i % 5);
        set[i].spec.pulseWidthS = 0.0006 + 0.0001 * static_cast<double>(i % 4);
        set[i].spec.noise = i % 3 == 1 ? 0.02 : 0.008;
    }
    return set;
}

std::vector<uint8_t> EncodeRecording(const SampleRecording& r, size_t index) {
    DDBHeader h;
    char ident[kDDBIdentSize + 1] = {};
    std::snprintf(ident, sizeof ident, "SAMPLE %s L=%.2fm", fs::path(r.path).stem().c_str(), r.spec.lengthM);
    std::memcpy(h.ident, ident, std::strlen(ident));
    h.profile = r.profile;
    h.year = 2005;
    h.month = 4;
    h.day = 4;
    h.hour = 11;
    h.minute = static_cast<quint16>(3 + index % 50);
    h.second = 38;
    h.milliseconds = 120;
    h.frequencyUnit = r.frequencyInKhz ? 1 : 0;
    h.sampleRate = static_cast<quint16>(r.frequencyInKhz ? r.spec.sampleRateHz / 1000 : r.spec.sampleRateHz);
    h.firstGain = 1;
    h.otherGain = 1;
    h.channels = r.channels;
    h.samplesPerChannel = static_cast<qint32>(r.spec.samples);
    h.formatCode = r.format;
    const auto header = EncodeDDBHeader(h);

    // One blow per channel.
    std::vector<std::vector<double>> traces;
    for (uint16_t c = 0; c < r.channels; ++c)
        traces.push_back(SynthesizeVelocity(r.spec, c));
    std::vector<uint8_t> out(header.begin(), header.end());
    for (uint32_t s = 0; s < r.spec.samples; ++s)
        for (const auto& trace : traces)
            AppendU32(out, SampleWord(trace[s], r.format));
    return out;
}

namespace {

// "-", or every section as "neck|bulge:TOP-BOTTOM:RATIO" joined by ",".
std::string SectionsText(const PileSpec& spec) {
    std::string out;
    char one[64];
    for (const auto& s : spec.sections) {
        std::snprintf(one, sizeof one, "%s%s:%.2f-%.2f:%.2f", out.empty() ? "" : ",", s.ratio < 1 ? "neck" : "bulge",
                      s.topM, s.bottomM, s.ratio);
        out += one;
    }
    return out.empty() ? "-" : out;
}

} // namespace

std::string ManifestText(const std::vector<SampleRecording>& recordings) {
    std::string out = "# path\tlength_m\tvelocity_m_s\tchannels\tformat\trate_hz\tsamples\tdefect_m\ttolerance_m"
                      "\ttoe\tsections\n";
    char line[384];
    for (const auto& r : recordings) {
        char defect[16] = "-";
        if (!r.spec.sections.empty())
            std::snprintf(defect, sizeof defect, "%.2f", r.spec.sections.front().topM);
        std::snprintf(line, sizeof line, "%s\t%.2f\t%.0f\t%u\t%u\t%.0f\t%u\t%s\t%.3f\t%s\t%s\n", r.path.c_str(),
                      r.spec.lengthM, r.spec.velocity, r.channels, r.format, r.spec.sampleRateHz, r.spec.samples,
                      defect, r.spec.velocity / r.spec.sampleRateHz / 2, r.spec.socketedToe ? "socketed" : "free",
                      SectionsText(r.spec).c_str());
        out += line;
    }
    return out;
}

bool WriteSampleSet(const fs::path& dir, std::string* error) {
    std::error_code ec;
    fs::create_directories(dir / "SITE1", ec);
    if (ec) {
        *error = "cannot create " + (dir / "SITE1").string() + ": " + ec.message();
        return false;
    }
    const auto recordings = SampleRecordings();
    for (size_t i = 0; i < recordings.size(); ++i) {
        const auto bytes = EncodeRecording(recordings[i], i);
        if (!WriteFileBytes(dir / recordings[i].path, bytes.data(), bytes.size(), error))
            return false;
    }
    const std::string manifest = ManifestText(recordings);
    return WriteFileBytes(dir / "MANIFEST.TXT", manifest.data(), manifest.size(), error) &&
           WriteFileBytes(dir / "README.TXT", kReadme, std::strlen(kReadme), error) &&
           WriteFileBytes(dir / "EMPTY.TXT", "", 0, error);
}

} // namespace zarno::device
