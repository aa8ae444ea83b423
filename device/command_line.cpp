#include "device/command_line.h"

#include "app/remotedisk/disk_protocol.h"
#include "transport/port_convention.h"

#include <filesystem>
#include <functional>
#include <map>

namespace zarno::device {
namespace {

using Handler = std::function<bool(const std::string& value)>;

// Walks "--name value" pairs (and the value-less flags) through a table of handlers.
bool ParseTable(const std::vector<std::string>& args, const std::map<std::string, Handler>& withValue,
                const std::map<std::string, std::function<void()>>& flags, std::string* error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (const auto f = flags.find(name); f != flags.end()) {
            f->second();
            continue;
        }
        const auto h = withValue.find(name);
        if (h == withValue.end()) {
            *error = "unknown option " + name;
            return false;
        }
        if (i + 1 >= args.size()) {
            *error = name + " needs a value";
            return false;
        }
        if (!h->second(args[++i])) {
            *error = "bad value for " + name + ": " + args[i];
            return false;
        }
    }
    return true;
}

// A number option stored into target.
template <typename T> Handler Number(T* target, uint64_t min, uint64_t max) {
    return [=](const std::string& v) {
        const auto n = ParseNumber(v, max);
        if (!n || *n < min)
            return false;
        *target = static_cast<T>(*n);
        return true;
    };
}

bool ParseProbability(const std::string& text, double* out) {
    try {
        size_t used = 0;
        const double p = std::stod(text, &used);
        if (used != text.size() || !(p >= 0 && p <= 1))
            return false;
        *out = p;
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

const char* const kUsage =
    "Usage: zarno-device COMMAND [ARGS...]\n"
    "The instrument simulator of Zarno: serves a directory as the instrument's disk, writes sample\n"
    "recordings, and relays UDP with loss for tests.\n\n"
    "Commands:\n"
    "  zarno-device serve --root DIR (--udp PORT | --serial COM1|COM2|DEVICE-PATH|pty [--line-addr N]\n"
    "                     [--speed BAUD]) [--label TEXT] [--kind K] [--disk-size BYTES|host]\n"
    "                     [--fail CODE=STATUS[:COUNT]]... [--no-answer CODE[:COUNT]]... [--delay-ms N]\n"
    "                     [--die-after CODE:COUNT]... [--open-length BYTES] [--garble-names] [--verbose]\n"
    "      serve a directory as the instrument's disk over UDP or a serial line; the disk is a\n"
    "      128 MiB card unless --disk-size gives another size or \"host\" (the directory's file system)\n"
    "  zarno-device make-samples DIR\n"
    "      write the sample recordings and their MANIFEST.TXT into DIR\n"
    "  zarno-device proxy --listen PORT --to HOST:PORT [--drop P] [--dup P] [--delay-ms N] [--seed S]\n"
    "      relay UDP datagrams with loss, repeats and delay\n\n"
    "Ports are given in the transport library's convention (6768 is wire port 28698).\n\n"
    "Options:\n"
    "      --lang ru|en  the language of the transport library's messages (default: the locale's)\n"
    "  -h, --help        show this help and exit\n"
    "      --version     show the version and exit\n";

std::optional<ServeOptions> ParseServeArgs(const std::vector<std::string>& args, std::string* error) {
    ServeOptions o;
    uint32_t udp = 0;
    uint64_t diskSize = 0;
    bool haveDiskSize = false;
    bool hostDisk = false;
    SerialLink serial;
    bool haveSerial = false;
    bool haveUdp = false;
    const std::map<std::string, Handler> withValue = {
        {"--root", [&](const std::string& v) { return !(o.disk.root = v).empty(); }},
        {"--udp", [&](const std::string& v) { return haveUdp = Number(&udp, 1, 65535)(v); }},
        {"--serial", [&](const std::string& v) { return haveSerial = !(serial.port = v).empty(); }},
        {"--line-addr", Number(&serial.lineAddr, 1, 65535)},
        {"--speed", Number(&serial.speed, 50, 4000000)},
        {"--label", [&](const std::string& v) { return (o.disk.label = v).size() <= kVolumeLabelSize; }},
        {"--kind", Number(&o.disk.kind, 0, UINT16_MAX)},
        {"--disk-size",
         [&](const std::string& v) {
             hostDisk = v == "host";
             return haveDiskSize = hostDisk || Number(&diskSize, 0, UINT64_MAX)(v);
         }},
        {"--fail", [&](const std::string& v) { return o.misbehaviour.AddFailure(v); }},
        {"--no-answer", [&](const std::string& v) { return o.misbehaviour.AddSilence(v); }},
        {"--die-after", [&](const std::string& v) { return o.misbehaviour.AddDeath(v); }},
        {"--open-length",
         [&](const std::string& v) {
             uint32_t n = 0;
             return Number(&n, 0, UINT32_MAX)(v) && (o.misbehaviour.openLength = n, true);
         }},
        {"--delay-ms", Number(&o.delayMs, 0, 600000)},
    };
    const std::map<std::string, std::function<void()>> flags = {
        {"--verbose", [&] { o.verbose = true; }},
        {"--garble-names", [&] { o.misbehaviour.garbleNames = true; }},
    };
    if (!ParseTable(args, withValue, flags, error))
        return std::nullopt;
    std::error_code ec;
    if (o.disk.root.empty() || !std::filesystem::is_directory(o.disk.root, ec)) {
        *error = "--root must name an existing directory";
        return std::nullopt;
    }
    if (haveUdp == haveSerial) {
        *error = "give exactly one of --udp and --serial";
        return std::nullopt;
    }
    if (haveUdp)
        o.udpPort = udp;
    if (haveSerial)
        o.serial = serial;
    // An instrument has a memory card, not the computer's disk: its figures would pass the 32-bit
    // fields of the disk information and show a clamped, meaningless size.
    if (!hostDisk)
        o.disk.diskSize = haveDiskSize ? diskSize : kDefaultCardBytes;
    return o;
}

std::optional<ProxyOptions> ParseProxyArgs(const std::vector<std::string>& args, std::string* error) {
    ProxyOptions o;
    uint32_t listen = 0;
    bool haveTo = false;
    const std::map<std::string, Handler> withValue = {
        {"--listen", Number(&listen, 1, 65535)},
        {"--to",
         [&](const std::string& v) { return haveTo = ParseHostPort(v, &o.targetAddr, &o.targetWirePort); }},
        {"--drop", [&](const std::string& v) { return ParseProbability(v, &o.drop); }},
        {"--dup", [&](const std::string& v) { return ParseProbability(v, &o.dup); }},
        {"--delay-ms", Number(&o.delayMs, 0, 600000)},
        {"--seed", Number(&o.seed, 0, UINT64_MAX)},
    };
    if (!ParseTable(args, withValue, {}, error))
        return std::nullopt;
    if (listen == 0 || !haveTo) {
        *error = "--listen and --to are both needed";
        return std::nullopt;
    }
    o.listenWirePort = velnet::WirePortFromValue(listen);
    return o;
}

} // namespace zarno::device
