// What the transport's diagnostics window costs a download: the same download from zarno-device
// through the whole client stack, with the window never shown (the baseline), shown with its boxes
// unchecked, and shown with every box checked (both "Диагностика" boxes, all filters, "Время"), in
// turns, three times each; the medians are compared. Goal: the unchecked window costs nothing
// (ratio about 1.00); the checked one's cost is reported.

#include "app/link/transport_link.h"
#include "bench/instrument_download.h"

#include "tests/support/device_process.h"
#include "tests/support/recording_prompts.h"
#include "tests/support/temp_config.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>


namespace {

constexpr size_t kFileBytes = 2 * 1024 * 1024;

enum class Mode { NoWindow, Unchecked, Checked };

QWidget* DebugWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("velnetDebugWindow"))
            return w;
    return nullptr;
}

// Shows the library's window for the link (and ticks every box for Mode::Checked); false when it
// did not appear.
bool PrepareWindow(Mode mode) {
    if (mode == Mode::NoWindow)
        return true;
    zarno::CTransportLink& link = zarno::CTransportLink::Instance();
    link.Api().ShowTransport(link.Handle(), 1);
    QApplication::processEvents();
    QWidget* window = DebugWindow();
    if (!window)
        return false;
    if (mode == Mode::Checked)
        for (const char* box : {"messagesDebug", "udpDebug", "timeStamps"})
            window->findChild<QCheckBox*>(QString::fromLatin1(box))->click();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    zarno::testing::TempConfigHome home; // the library's settings file is made here, not in the user's
    QApplication app(argc, argv);
    QTemporaryDir root;
    {
        std::ofstream out(QDir(root.path()).filePath("BIG.BIN").toStdString(), std::ios::binary);
        std::vector<char> data(kFileBytes);
        for (size_t i = 0; i < data.size(); ++i)
            data[i] = char(i * 7);
        out.write(data.data(), std::streamsize(data.size()));
    }
    zarno::testing::DeviceProcess instrument(root.path().toStdString());
    constexpr int kRounds = 5;
    std::vector<double> rates[3];
    for (int round = 0; round < kRounds; ++round)
        for (Mode mode : {Mode::NoWindow, Mode::Unchecked, Mode::Checked}) {
            const double rate = zarno::bench::DownloadRate(instrument, kFileBytes, [mode] { return PrepareWindow(mode); });
            if (rate <= 0) {
                std::fprintf(stderr, "diag_window_bench: a download failed\n");
                return 1;
            }
            rates[int(mode)].push_back(rate);
            std::fprintf(stderr, "round %d mode %d: %.0f\n", round, int(mode), rate);
        }
    const double none = zarno::bench::Median(rates[0]), unchecked = zarno::bench::Median(rates[1]),
                 checked = zarno::bench::Median(rates[2]);
    std::printf("download of %zu bytes, no window:             %.0f exchanges/s (median of %d)\n", kFileBytes,
                none, kRounds);
    std::printf("download of %zu bytes, window, boxes clear:   %.0f exchanges/s\n", kFileBytes, unchecked);
    std::printf("download of %zu bytes, window, every box on:  %.0f exchanges/s\n", kFileBytes, checked);
    std::printf("ratio (boxes clear / no window): %.2f (goal about 1.00)\n", unchecked / none);
    std::printf("ratio (every box on / no window): %.2f (the cost of logging)\n", checked / none);
    return 0;
}
