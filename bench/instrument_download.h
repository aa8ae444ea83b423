#pragma once
// What the link benchmarks time: one download of the first file of the simulator's root through
// CRemoteDevice, over 127.0.0.1.

#include "app/remotedisk/remote_device.h"
#include "tests/support/device_process.h"
#include "tests/support/loopback_link.h"
#include "tests/support/recording_prompts.h"

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace zarno::bench {

// Exchanges per second of the download of a file of fileBytes (open, one exchange per block,
// close); 0 when something failed. beforeCopy runs once the link is up and the root listed, outside
// the timing; false from it abandons the run.
inline double DownloadRate(const testing::DeviceProcess& instrument, size_t fileBytes,
                           const std::function<bool()>& beforeCopy = {}) {
    using Clock = std::chrono::steady_clock;
    testing::RecordingPrompts prompts;
    CRemoteDevice device(CTransportLink::Instance(), prompts);
    testing::AimAtLoopback(device, instrument.port);
    if (device.ConnectNetwork() != 1 || device.ReadDirectory("z:\\") != kCommandDone || device.Listing().empty())
        return 0;
    if (beforeCopy && !beforeCopy())
        return 0;
    const DeviceName name = device.Listing().front()->deviceName;
    QTemporaryDir local;
    const auto start = Clock::now();
    if (device.CopyFromDevice(name, local.filePath("BIG.BIN")) != kDownloadDone)
        return 0;
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return (double(fileBytes / kBlockSize) + 2) / seconds;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace zarno::bench
