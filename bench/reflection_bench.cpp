// The automatic reflection search on the largest recording the instrument makes (two traces of 65535
// samples), through the transform against the direct sums kept as the reference, measured side by side
// in one run; the two must find the same indices. Goal: the ratio direct/fast far above 1, and
// `zarno-cli measure` on that recording at most half the time of a numpy peer (bench/cli_speed.sh).
//
// reflection_bench FILE.ddb only writes the recording there, for that comparison.

#include "app/dsp/autocorrelation.h"
#include "app/dsp/sample_math.h"
#include "device/sample_set.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

using namespace zarno;

namespace {

constexpr uint32_t kSamples = 65535;
constexpr int kFastRounds = 9;

device::SampleRecording LargestRecording() {
    device::SampleRecording r;
    r.path = "LARGEST.DDB";
    r.spec.lengthM = 24;
    r.spec.sampleRateHz = 25000;
    r.spec.samples = kSamples;
    r.spec.seed = 77;
    r.channels = 2;
    r.format = 2;
    r.frequencyInKhz = true;
    return r;
}

// The recording's traces as the program reads them: the 32-bit integer samples, channel by channel.
std::vector<std::vector<double>> Traces(const std::vector<uint8_t>& ddb, unsigned channels) {
    std::vector<std::vector<double>> traces(channels, std::vector<double>(kSamples));
    const uint8_t* data = ddb.data() + 512;
    for (uint32_t s = 0; s < kSamples; ++s)
        for (unsigned c = 0; c < channels; ++c) {
            const uint8_t* w = data + 4 * (s * channels + c);
            const uint32_t word =
                uint32_t(w[0]) | uint32_t(w[1]) << 8 | uint32_t(w[2]) << 16 | uint32_t(w[3]) << 24;
            traces[c][s] = static_cast<int32_t>(word);
        }
    return traces;
}

using Search = dsp::ReflectionEstimate (*)(const std::vector<double>&, std::vector<double>&);

dsp::ReflectionEstimate Fast(const std::vector<double>& x, std::vector<double>& r) {
    dsp::Autocorrelate(x, r);
    return dsp::EstimateReflection(x, r, 3600, 4e-5);
}

// What the program did before: the direct sums and plain searches over them.
dsp::ReflectionEstimate Direct(const std::vector<double>& x, std::vector<double>& r) {
    dsp::AutocorrelateDirect(x, r);
    dsp::ReflectionEstimate e;
    const auto last = static_cast<int32_t>(x.size()) - 1;
    e.arrival = std::min(dsp::IndexOfAbsMax(x), dsp::IndexOfMax(x));
    e.reflection = dsp::IndexOfMax(r, dsp::IndexOfFirstNegative(r, e.arrival, last), last);
    return e;
}

double Seconds(Search search, const std::vector<std::vector<double>>& traces,
               std::vector<dsp::ReflectionEstimate>& found) {
    std::vector<double> r(kSamples);
    found.clear();
    const auto start = std::chrono::steady_clock::now();
    for (const auto& x : traces)
        found.push_back(search(x, r));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    const device::SampleRecording recording = LargestRecording();
    const std::vector<uint8_t> ddb = device::EncodeRecording(recording, 0);
    if (argc > 1) {
        std::ofstream out(argv[1], std::ios::binary);
        out.write(reinterpret_cast<const char*>(ddb.data()), static_cast<std::streamsize>(ddb.size()));
        if (!out) {
            std::fprintf(stderr, "reflection_bench: cannot write %s\n", argv[1]);
            return 1;
        }
        return 0;
    }
    const auto traces = Traces(ddb, recording.channels);

    std::vector<dsp::ReflectionEstimate> fast, direct;
    double best = 1e300;
    for (int round = 0; round < kFastRounds; ++round)
        best = std::min(best, Seconds(Fast, traces, fast));
    const double reference = Seconds(Direct, traces, direct); // once: it takes seconds

    bool same = true;
    for (std::size_t i = 0; i < traces.size(); ++i) {
        std::printf("trace %zu: fast arrival %d reflection %d, direct arrival %d reflection %d\n", i + 1,
                    fast[i].arrival, fast[i].reflection, direct[i].arrival, direct[i].reflection);
        same = same && fast[i].arrival == direct[i].arrival && fast[i].reflection == direct[i].reflection;
    }
    std::printf("%zu traces x %u samples: fast best of %d %.2f ms, direct %.1f ms\n", traces.size(), kSamples,
                kFastRounds, best * 1e3, reference * 1e3);
    std::printf("ratio direct/fast: %.0f; results %s\n", reference / best, same ? "equal" : "DIFFER");
    return same ? 0 : 1;
}
