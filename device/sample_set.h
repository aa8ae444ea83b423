#pragma once
// The sample recordings that `zarno-device make-samples` writes: modelled DDB recordings of piles
// of known length (each channel one blow), a text file, an empty file and a subdirectory with more recordings than one
// listing answer holds, plus MANIFEST.TXT naming each recording's known length so that tests and
// users can check what the measurement finds. The set is the same on every run.

#include "device/pile_signal.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zarno::device {

struct SampleRecording {
    std::string path; // relative to the set's root, "/" between directories
    PileSpec spec;
    uint16_t channels = 1;
    uint16_t format = 2;         // 2: 32-bit integers, 5: 32-bit IEEE floats
    bool frequencyInKhz = false; // the header gives the rate in kHz instead of Hz
    uint16_t profile = 1;
};

// Every recording of the set, in the order they are written.
std::vector<SampleRecording> SampleRecordings();

// A recording's file: the 512-byte header, then the channels' samples interleaved.
std::vector<uint8_t> EncodeRecording(const SampleRecording& recording, size_t index);

// The manifest: one line per recording (path, length, velocity, channels, format, rate, samples,
// the top of its first neck or bulge or "-", tolerance of one sample's length, the toe "free" or
// "socketed", its sections or "-"), after a header line starting with "#".
std::string ManifestText(const std::vector<SampleRecording>& recordings);

// Writes the whole set into dir (created when missing); false with the reason in error.
bool WriteSampleSet(const std::filesystem::path& dir, std::string* error);

} // namespace zarno::device
