// A download through the whole client stack (CRemoteDevice, the link's exchanges, libvelnet.so)
// from zarno-device over loopback, against a raw request/answer loop between two plain UDP sockets
// with the same message sizes (522-byte request, 516-byte answer), measured in the same run.
// Prints both rates in exchanges per second and their ratio (goal: at least 0.40). The two are
// measured in turns, three times each, and the medians compared: on a shared machine single runs
// of the raw loop vary by a factor of two.

#include "bench/instrument_download.h"

#include "tests/support/device_process.h"
#include "tests/support/qt_app.h"
#include "tests/support/recording_prompts.h"

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {

constexpr size_t kFileBytes = 4 * 1024 * 1024;
constexpr int kRawExchanges = 20000;

// Exchanges per second of a plain request/answer loop on 127.0.0.1.
double RawLoopRate() {
    zarno::testing::PlainUdpSocket server, client;
    std::atomic<bool> stop{false};
    std::thread echo([&] {
        uint8_t request[1024], answer[516] = {};
        uint16_t from = 0;
        while (!stop) {
            if (server.receive(request, sizeof request, &from) == 522)
                server.sendTo(from, answer, sizeof answer);
        }
    });
    uint8_t request[522] = {}, answer[1024];
    const auto start = Clock::now();
    int done = 0;
    for (; done < kRawExchanges; ++done) {
        client.sendTo(server.wirePort(), request, sizeof request);
        if (client.receive(answer, sizeof answer) != 516)
            break;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    stop = true;
    client.sendTo(server.wirePort(), request, sizeof request); // wakes the echo thread
    echo.join();
    return done / seconds;
}

// Exchanges per second of CopyFromDevice (open, one exchange per block, close).
double ClientStackRate(const QString& root) {
    const zarno::testing::DeviceProcess instrument(root.toStdString());
    return zarno::bench::DownloadRate(instrument, kFileBytes);
}

} // namespace

int main() {
    zarno::testing::EnsureCoreApp();
    QTemporaryDir root;
    {
        std::ofstream out(QDir(root.path()).filePath("BIG.BIN").toStdString(), std::ios::binary);
        std::vector<char> data(kFileBytes);
        for (size_t i = 0; i < data.size(); ++i)
            data[i] = char(i * 7);
        out.write(data.data(), std::streamsize(data.size()));
    }
    constexpr int kRounds = 3;
    std::vector<double> raws, stacks;
    for (int round = 0; round < kRounds; ++round) {
        raws.push_back(RawLoopRate());
        stacks.push_back(ClientStackRate(root.path()));
        if (raws.back() <= 0 || stacks.back() <= 0) {
            std::fprintf(stderr, "download_bench: a measurement failed\n");
            return 1;
        }
    }
    const double raw = zarno::bench::Median(raws);
    const double stack = zarno::bench::Median(stacks);
    std::printf("raw UDP request/answer loop: %.0f exchanges/s (median of %d)\n", raw, kRounds);
    std::printf("download of %zu bytes through the client stack: %.0f exchanges/s (median of %d)\n",
                kFileBytes, stack, kRounds);
    std::printf("ratio (client / raw): %.2f (goal >= 0.40)\n", stack / raw);
    return 0;
}
