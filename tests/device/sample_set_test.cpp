// The sample set: deterministic files, headers that say what the manifest says, and traces in which
// the toe finder finds each pile's known length and its necks and bulges on every channel; the
// automatic reflection search (the independent direct statement and the program's own) agrees with
// itself everywhere and finds the length on the recordings the demonstrations measure.

#include "app/analysis/toe_finder.h"
#include "app/dsp/autocorrelation.h"
#include "app/formats/ddb_header.h"
#include "app/remotedisk/disk_protocol.h"
#include "device/disk_server.h"
#include "app/remotedisk/wire_fields.h"
#include "device/sample_set.h"
#include "tests/device/reflection_search.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace zarno::device {
using namespace wire;
namespace {
namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

struct ManifestLine {
    std::string path;
    double length = 0, velocity = 0, rate = 0, tolerance = 0;
    unsigned channels = 0, format = 0, samples = 0;
    std::string defect;
    std::string toe;      // "free" or "socketed"
    std::string sections; // "-" or "neck:TOP-BOTTOM:RATIO,..."
};

// The recordings the demonstrations download and measure: free toes in firm soil, where the
// reflection search finds the length too.
const std::set<std::string> kSearchMeasuresRight = {"PILE12.DDB", "PILE18.DDB", "TWOCH12.DDB", "DEFECT12.DDB",
                                                    "SITE1/P02.DDB"};

std::vector<ManifestLine> ReadManifest(const fs::path& p) {
    std::vector<ManifestLine> out;
    std::istringstream in(ReadFile(p));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream f(line);
        ManifestLine m;
        f >> m.path >> m.length >> m.velocity >> m.channels >> m.format >> m.rate >> m.samples >> m.defect >>
            m.tolerance >> m.toe >> m.sections;
        EXPECT_TRUE(f) << line;
        out.push_back(m);
    }
    return out;
}

class SampleSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string templ = (fs::temp_directory_path() / "zarno-samples-XXXXXX").string();
        dir = mkdtemp(templ.data());
        std::string error;
        ASSERT_TRUE(WriteSampleSet(dir, &error)) << error;
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(SampleSetTest, RecordingsCarryTheManifestsLengths) {
    const auto manifest = ReadManifest(dir / "MANIFEST.TXT");
    ASSERT_EQ(manifest.size(), SampleRecordings().size());
    std::set<unsigned> formats, channelCounts;
    std::set<double> rates;
    std::set<std::string> toes, sectionKinds;
    for (const auto& m : manifest) {
        SCOPED_TRACE(m.path);
        const std::string bytes = ReadFile(dir / m.path);
        ASSERT_GE(bytes.size(), 512u);
        const DDBHeader h = ParseDDBHeader(QByteArrayView(bytes.data(), 512));
        EXPECT_EQ(h.channels, m.channels);
        EXPECT_EQ(h.formatCode, m.format);
        EXPECT_EQ(static_cast<unsigned>(h.samplesPerChannel), m.samples);
        EXPECT_EQ(bytes.size(), 512 + 4u * m.channels * m.samples);
        EXPECT_EQ(std::string(h.ident).find("SAMPLE"), 0u);
        const double intervalUs = DDBSampleInterval(h.sampleRate, h.frequencyUnit);
        EXPECT_DOUBLE_EQ(intervalUs, 1e6 / m.rate);
        formats.insert(m.format);
        channelCounts.insert(m.channels);
        rates.insert(m.rate);
        toes.insert(m.toe);
        const bool neck = m.sections.starts_with("neck:"), bulge = m.sections.starts_with("bulge:");
        EXPECT_TRUE(neck || bulge || m.sections == "-") << m.sections;
        if (neck || bulge)
            sectionKinds.insert(neck ? "neck" : "bulge");

        for (unsigned c = 0; c < m.channels; ++c) {
            SCOPED_TRACE(c);
            std::vector<double> trace(m.samples);
            const auto data =
                std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()).subspan(512);
            for (unsigned s = 0; s < m.samples; ++s) {
                const uint32_t word = GetU32(data, 4 * (s * m.channels + c));
                if (m.format == 5) {
                    float f = 0;
                    std::memcpy(&f, &word, 4);
                    trace[s] = f;
                } else {
                    trace[s] = static_cast<int32_t>(word);
                }
            }
            const analysis::ToeResult toe = analysis::FindToe(trace, intervalUs / 1e6, m.velocity);
            ASSERT_TRUE(toe.found);
            EXPECT_NEAR(toe.lengthM, m.length, m.tolerance + 1e-9);
            EXPECT_EQ(toe.toeReversed, m.toe == "socketed");
            if (m.defect == "-") {
                EXPECT_TRUE(toe.anomalies.empty());
            } else {
                ASSERT_FALSE(toe.anomalies.empty());
                EXPECT_NEAR(toe.anomalies.front().depthM, std::stod(m.defect), 0.05 * std::stod(m.defect));
                EXPECT_EQ(toe.anomalies.front().kind, m.sections.starts_with("neck:")
                                                          ? analysis::Anomaly::Kind::Reduction
                                                          : analysis::Anomaly::Kind::Increase);
            }

            const int echo = AutomaticReflectionIndex(trace);
            if (kSearchMeasuresRight.contains(m.path)) {
                EXPECT_NEAR(echo * intervalUs / 1e6 * m.velocity / 2, m.length, m.tolerance + 1e-9);
            }
            // The program's own search, through the transform, lands on the same lag.
            std::vector<double> r(trace.size());
            dsp::Autocorrelate(trace, r);
            EXPECT_EQ(dsp::EstimateReflection(trace, r, m.velocity, intervalUs / 1e6).reflection, echo);
        }
    }
    // The variety the set promises.
    EXPECT_EQ(formats, (std::set<unsigned>{2, 5}));
    EXPECT_EQ(channelCounts, (std::set<unsigned>{1, 2}));
    EXPECT_EQ(rates, (std::set<double>{10000, 20000, 25000, 50000}));
    EXPECT_EQ(toes, (std::set<std::string>{"free", "socketed"}));
    EXPECT_EQ(sectionKinds, (std::set<std::string>{"neck", "bulge"}));
}

TEST_F(SampleSetTest, IsTheSameOnEveryRunAndHasTheOtherFiles) {
    std::string templ = (fs::temp_directory_path() / "zarno-samples-XXXXXX").string();
    const fs::path again = mkdtemp(templ.data());
    std::string error;
    ASSERT_TRUE(WriteSampleSet(again, &error)) << error;
    size_t files = 0;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (!e.is_regular_file())
            continue;
        ++files;
        EXPECT_EQ(ReadFile(e.path()), ReadFile(again / fs::relative(e.path(), dir))) << e.path();
    }
    fs::remove_all(again);
    EXPECT_EQ(files, SampleRecordings().size() + 3); // manifest, text file, empty file
    EXPECT_EQ(fs::file_size(dir / "EMPTY.TXT"), 0u);
    EXPECT_GT(fs::file_size(dir / "README.TXT"), 0u);

    // Served, the subdirectory needs more than one listing answer.
    DiskServerOptions o;
    o.root = dir;
    DiskServer server(o);
    std::vector<uint8_t> cd(12, ' ');
    std::memcpy(cd.data(), "SITE1", 5);
    cd[11] = kDirectoryAttribute;
    ASSERT_EQ(GetU16(server.Handle(kCodeChangeDirectory, cd), 0), kStatusOk);
    const auto first = server.Handle(kCodeReadDirectory, {});
    EXPECT_EQ(GetU16(first, 0), kStatusMore);
    const auto rest = server.Handle(kCodeReadDirectoryMore, {});
    EXPECT_EQ(GetU16(rest, 0), kStatusOk);
    EXPECT_EQ((first.size() - 2) / 32 + (rest.size() - 2) / 32, 20u); // ".", "..", 18 recordings
}

} // namespace
} // namespace zarno::device
