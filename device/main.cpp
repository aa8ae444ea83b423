// zarno-device: the instrument simulator. `serve` serves a directory as the instrument's disk through
// libvelnet.so, `make-samples` writes a set of synthetic recordings, `proxy` relays UDP with loss.

#include "app/i18n/language_option.h"
#include "app/shell/program_info.h"
#include "device/command_line.h"
#include "device/pty_pair.h"
#include "device/sample_set.h"
#include "device/sample_site.h"
#include "device/velnet_service.h"
#include "transport/port_convention.h"

#include <arpa/inet.h>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
using namespace zarno::device;

std::atomic<bool> g_stop{false};
std::atomic<UdpProxy*> g_proxy{nullptr};

void OnSignal(int) {
    g_stop = true;
    if (UdpProxy* proxy = g_proxy.load())
        proxy->Stop();
}

void InstallSignalHandlers() {
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

int Fail(const std::string& text) {
    std::fprintf(stderr, "zarno-device: %s\n", text.c_str());
    return 1;
}

// The library reports a port it cannot bind only as a line of its own and a transport that never
// sends; trying the port first gives a clear refusal instead.
bool UdpPortFree(uint32_t portValue) {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    a.sin_port = velnet::PortFieldFromValue(portValue);
    const bool ok = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    if (fd >= 0)
        close(fd);
    return ok;
}

int Serve(const std::vector<std::string>& args) {
    std::string error;
    auto options = ParseServeArgs(args, &error);
    if (!options)
        return Fail(error + "\n" + kUsage);
    zarno::VelnetApi api;
    if (!api.Load(&error))
        return Fail(error);
    DiskServer disk(options->disk);
    VelnetService service(api, disk, options->misbehaviour, options->delayMs, options->verbose);
    std::unique_ptr<PtyPair> pty;
    const std::string root = options->disk.root.string();
    if (options->udpPort) {
        const uint32_t port = *options->udpPort;
        if (!UdpPortFree(port))
            return Fail("UDP port " + std::to_string(port) + " (wire port " +
                        std::to_string(velnet::WirePortFromValue(port)) + ") is in use");
        if (!service.OpenUdp(port, &error))
            return Fail(error);
        std::printf("zarno-device: serving %s on UDP port %u (wire port %u)\n", root.c_str(), port,
                    velnet::WirePortFromValue(port));
    } else {
        const SerialLink& link = *options->serial;
        std::string com = link.port;
        std::string device = link.port;
        if (link.port == "pty") {
            try {
                pty = std::make_unique<PtyPair>();
            } catch (const std::exception& e) {
                return Fail(e.what());
            }
            device = pty->ServedPath();
        }
        // A device path reaches the library as COM1, the way the program's own port names do.
        if (com != "COM1" && com != "COM2") {
            setenv("VELNET_COM1", device.c_str(), 1);
            com = "COM1";
        }
        if (!service.OpenSerial(com, link.lineAddr, link.speed, &error))
            return Fail(error);
        std::printf("zarno-device: serving %s on serial %s (line address %u, %u baud)\n", root.c_str(),
                    device.c_str(), link.lineAddr, link.speed);
        if (pty)
            std::printf("zarno-device: peer device %s\n", pty->PeerPath().c_str());
    }
    std::fflush(stdout);
    service.Run(g_stop);
    std::printf("zarno-device: stopped\n");
    return 0;
}

int Proxy(const std::vector<std::string>& args) {
    std::string error;
    const auto options = ParseProxyArgs(args, &error);
    if (!options)
        return Fail(error + "\n" + kUsage);
    try {
        UdpProxy proxy(*options);
        g_proxy = &proxy;
        std::printf(
            "zarno-device: relaying 127.0.0.1 wire port %u to wire port %u (drop %g, dup %g, delay %u ms)\n",
            proxy.ListenWirePort(), options->targetWirePort, options->drop, options->dup, options->delayMs);
        std::fflush(stdout);
        if (!g_stop)
            proxy.Run();
        g_proxy = nullptr;
        const ProxyCounts c = proxy.Counts();
        std::printf("zarno-device: %llu received, %llu dropped, %llu duplicated, %llu sent\n",
                    static_cast<unsigned long long>(c.received), static_cast<unsigned long long>(c.dropped),
                    static_cast<unsigned long long>(c.duplicated), static_cast<unsigned long long>(c.sent));
        return 0;
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
}

int MakeSamples(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return Fail(std::string("make-samples needs one directory\n") + kUsage);
    std::string error;
    if (!WriteSampleSet(args[0], &error) ||
        !WriteSampleSite(std::filesystem::path(args[0]) / kSampleSiteFolder, &error))
        return Fail(error);
    std::printf("zarno-device: samples written to %s\n", args[0].c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<zarno::Language> language = zarno::StartLanguage("zarno-device", argc, argv);
    if (!language)
        return 2;
    // The simulator's own texts are English; the transport library's follow the choice.
    zarno::RecordLanguage(*language);
    zarno::TellTransportLanguage(*language);
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (zarno::IsVersionOption(argv[1]))
        return zarno::PrintVersion("zarno-device");
    if (zarno::IsHelpOption(argv[1])) {
        std::fputs(kUsage, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    InstallSignalHandlers();
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "serve")
        return Serve(args);
    if (command == "proxy")
        return Proxy(args);
    if (command == "make-samples")
        return MakeSamples(args);
    std::fputs(kUsage, stderr);
    return 2;
}
