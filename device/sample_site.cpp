#include "device/sample_site.h"

#include "app/analysis/pile_model.h"
#include "app/formats/ddb_header.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

namespace zarno::device {

namespace {

namespace fs = std::filesystem;

constexpr double kSpeed = 3800;
constexpr double kRateHz = 25000;
constexpr int kSamples = 2048;
constexpr int kBlows = 3;

struct SitePile {
    const char* name;
    double lengthM;
    double designM;
    bool known;            // its length is known (a calibration pile)
    int reversedBlow;      // the blow (from 0) struck with the sensor reversed, or -1
    double neckTopM = 0.0; // a neck from here, 0.5 m long, at 40% of the impedance; 0 for none
};

const SitePile kPiles[] = {
    {"P01", 10.0, 10.0, true, -1},  {"P02", 12.0, 12.0, true, -1}, {"P03", 11.0, 11.0, true, 1},
    {"P04", 9.0, 9.0, true, -1},    {"P05", 14.0, 14.0, true, -1}, {"P06", 12.0, 12.0, false, -1, 5.0},
    {"P07", 13.0, 14.0, false, -1}, {"P08", 10.5, 10.5, false, -1},
};

std::vector<uint8_t> Recording(const std::vector<double>& trace, const SitePile& pile, int blow) {
    DDBHeader h;
    char ident[kDDBIdentSize + 1] = {};
    std::snprintf(ident, sizeof ident, "SURVEY %s BLOW %d", pile.name, blow + 1);
    std::memcpy(h.ident, ident, std::strlen(ident));
    h.profile = 2;
    h.year = 2005;
    h.month = 4;
    h.day = 5;
    h.hour = 9;
    h.minute = static_cast<quint16>(blow);
    h.frequencyUnit = 1;
    h.sampleRate = static_cast<quint16>(kRateHz / 1000);
    h.firstGain = 1;
    h.otherGain = 1;
    h.channels = 1;
    h.samplesPerChannel = kSamples;
    h.formatCode = 5;
    const auto header = EncodeDDBHeader(h);
    std::vector<uint8_t> out(header.begin(), header.end());
    for (double v : trace) {
        const auto word = std::bit_cast<uint32_t>(static_cast<float>(v));
        for (int b = 0; b < 4; ++b)
            out.push_back(static_cast<uint8_t>(word >> (8 * b)));
    }
    return out;
}

std::string FileName(const SitePile& pile, int blow) {
    return std::string(pile.name) + char('A' + blow) + ".DDB";
}

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    for (char* c = text; *c; ++c)
        if (*c == '.')
            *c = ','; // the table as a spreadsheet in a decimal-comma locale writes it
    return text;
}

bool WriteBytes(const fs::path& path, const void* data, size_t size, std::string* error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) {
        *error = "cannot write " + path.string();
        return false;
    }
    return true;
}

} // namespace

bool WriteSampleSite(const fs::path& dir, std::string* error) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        *error = "cannot create " + dir.string() + ": " + ec.message();
        return false;
    }
    std::string table = "pile;file;design_length_m;known_length_m;note\r\n";
    uint64_t seed = 500;
    for (const SitePile& pile : kPiles) {
        analysis::PileModel model;
        model.lengthM = pile.lengthM;
        model.velocityMps = kSpeed;
        if (pile.neckTopM > 0.0)
            model.sections = {{pile.neckTopM, pile.neckTopM + 0.5, 0.4}};
        for (int blow = 0; blow < kBlows; ++blow) {
            analysis::BlowRecording r;
            r.sampleRateHz = kRateHz;
            r.samples = kSamples;
            r.noise = 0.03;
            r.amplitude = 0.8 + 0.1 * blow; // no two blows alike in strength
            r.seed = ++seed;
            std::vector<double> trace = analysis::SimulateBlow(model, r);
            if (blow == pile.reversedBlow)
                for (double& v : trace)
                    v = -v;
            const auto bytes = Recording(trace, pile, blow);
            if (!WriteBytes(dir / FileName(pile, blow), bytes.data(), bytes.size(), error))
                return false;
            const std::string note = blow == 0 && pile.neckTopM > 0.0 ? "cut-off level 0,3 m lower" : "";
            table += std::string(pile.name) + ";" + FileName(pile, blow) + ";" + Number(pile.designM) + ";" +
                     (pile.known ? Number(pile.lengthM) : std::string()) + ";" + note + "\r\n";
        }
    }
    return WriteBytes(dir / "SITE.CSV", table.data(), table.size(), error);
}

} // namespace zarno::device
