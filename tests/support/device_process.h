#pragma once
// Test helpers for end-to-end runs against the instrument simulator: `zarno-device serve` started as
// a child process on a free loopback port, and a client that speaks the remote-disk command set to it
// through libvelnet.so, request by request, and hands back the raw answer bytes.

#include "app/link/velnet_api.h"
#include "app/remotedisk/wire_fields.h"
#include "tests/support/velnet_host.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <optional>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zarno::testing {

using Bytes = std::vector<uint8_t>;

class DeviceProcess {
public:
    // Starts `zarno-device serve --root root --udp <free port> extra...` and waits for its start-up
    // line.
    DeviceProcess(const std::string& root, const std::vector<std::string>& extra = {})
        : port(velnet::ValueFromWirePort(FreeWirePort())) {
        std::vector<std::string> args = {
            ExecutableDirectory() + "/zarno-device", "serve", "--root", root, "--udp", std::to_string(port)};
        args.insert(args.end(), extra.begin(), extra.end());
        Start(args);
        startupLine = ReadLine(std::chrono::seconds(20));
        if (startupLine.empty())
            throw std::runtime_error("zarno-device did not start");
    }
    // Starts `zarno-device serve --root root --serial pty --line-addr lineAddr` and reads the device
    // path of the pseudo-terminal it leaves for the client.
    struct SerialPty {
        uint32_t lineAddr;
    };
    DeviceProcess(const std::string& root, SerialPty pty) : port(0) {
        Start({ExecutableDirectory() + "/zarno-device", "serve", "--root", root, "--serial", "pty", "--line-addr",
               std::to_string(pty.lineAddr)});
        startupLine = ReadLine(std::chrono::seconds(20));
        const std::string peer = ReadLine(std::chrono::seconds(20));
        const auto at = peer.find("/dev/");
        if (startupLine.empty() || at == std::string::npos)
            throw std::runtime_error("zarno-device did not start on a pseudo-terminal");
        peerDevice = peer.substr(at);
    }
    ~DeviceProcess() { Stop(); }
    DeviceProcess(const DeviceProcess&) = delete;
    DeviceProcess& operator=(const DeviceProcess&) = delete;

    // Ends it with SIGTERM; its exit status (-1 when it did not exit normally).
    int Stop() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            int status = 0;
            waitpid(m_pid, &status, 0);
            m_exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            m_pid = -1;
        }
        if (m_out >= 0) {
            m_rest = ReadRest();
            close(m_out);
            m_out = -1;
        }
        return m_exit;
    }
    // Its process id while it runs (tests pause it with SIGSTOP to make an instrument go silent).
    pid_t pid() const { return m_pid; }
    // What it wrote to standard output after the start-up line (complete after Stop); with
    // --verbose, its request log too.
    const std::string& output() const { return m_rest; }

    uint32_t port;
    std::string startupLine;
    std::string peerDevice; // serial only

private:
    void Start(const std::vector<std::string>& args) {
        int fds[2];
        if (pipe(fds) != 0)
            throw std::runtime_error("pipe");
        m_pid = fork();
        if (m_pid == 0) {
            // The simulator ends with the test program, even one that dies without cleaning up.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            dup2(fds[1], STDOUT_FILENO);
            // With --verbose its log of every request (standard error) joins the output, so that a
            // test can tell what reached the instrument.
            if (std::find(args.begin(), args.end(), "--verbose") != args.end())
                dup2(fds[1], STDERR_FILENO);
            close(fds[0]);
            close(fds[1]);
            std::vector<char*> argv;
            for (const auto& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(fds[1]);
        m_out = fds[0];
    }
    std::string ReadLine(std::chrono::seconds limit) {
        std::string line;
        const auto end = std::chrono::steady_clock::now() + limit;
        char c = 0;
        while (std::chrono::steady_clock::now() < end) {
            pollfd p{m_out, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0)
                continue;
            if (read(m_out, &c, 1) != 1)
                break;
            if (c == '\n')
                return line;
            line += c;
        }
        return {};
    }
    std::string ReadRest() {
        std::string out;
        char buf[256];
        ssize_t n = 0;
        while ((n = read(m_out, buf, sizeof buf)) > 0)
            out.append(buf, static_cast<size_t>(n));
        return out;
    }

    pid_t m_pid = -1;
    int m_out = -1;
    int m_exit = -1;
    std::string m_rest;
};

// A client of the instrument on its own transport. The library's callbacks carry no context, so each
// client that lives at the same time as another needs a host slot of its own (2 or 3).
template <int Slot = 2> class DeviceClient {
public:
    explicit DeviceClient(uint32_t devicePort) { m_host.Aim(devicePort); }
    uint32_t localPort() const { return m_host.localPort; }

    // One exchange. With answer wanted 1: the answer's bytes, or nothing when the exchange failed.
    // With 0: an empty vector once the instrument's library acknowledged it.
    std::optional<Bytes> Request(uint16_t code, const Bytes& payload = {}, uint32_t answerWanted = 1) {
        const size_t delivered = m_host.Delivered().size();
        const size_t answers = m_host.Answers().size();
        if (!m_host.Send(code, answerWanted, payload) || !m_host.WaitDelivered(delivered + 1))
            return std::nullopt;
        const auto reports = m_host.Delivered();
        if (reports.empty() || Failed(reports.back()))
            return std::nullopt;
        // A delivered message was answered, but the answer's callback (receive thread) may come just
        // after the delivery report (engine thread): wait for it, empty answers too, so that it is
        // never taken for the answer to the next request.
        if (!m_host.WaitAnswers(answers + 1))
            return std::nullopt;
        if (answerWanted != 1)
            return Bytes{};
        const auto all = m_host.Answers();
        if (all.empty())
            return std::nullopt;
        const HostRecord& a = all.back();
        return Bytes(a.record.data,
                     a.record.data + std::min<size_t>(a.dataLength(), velnet::kMaxMessageData));
    }

private:
    VelnetHost<Slot> m_host;
};

// Outside the answer they read as values no field of this size holds in the tests.
inline uint16_t StatusOf(const Bytes& answer) {
    return answer.size() >= 2 ? wire::GetU16(answer, 0) : 0xDEAD;
}
inline uint32_t U32At(const Bytes& b, size_t at) {
    return b.size() >= at + 4 ? wire::GetU32(b, at) : 0xDEADBEEF;
}

} // namespace zarno::testing
