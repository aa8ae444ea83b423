#pragma once
// An instrument stand-in for client tests: a second transport of libvelnet.so in the same process
// that answers each message code with whatever the test's script returns. Messages that want only
// an empty answer are answered by the library itself; the script is still told of them.

#include "tests/support/velnet_host.h"

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace zarno::testing {

using Bytes = std::vector<uint8_t>;

inline Bytes U16Bytes(uint16_t v) {
    return {uint8_t(v), uint8_t(v >> 8)};
}
inline Bytes U32Bytes(uint32_t v) {
    return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}
inline Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

class ScriptedDevice {
public:
    // Returns the full answer's data, or nothing to stay silent.
    using Handler = std::function<std::optional<Bytes>(const Bytes& payload)>;

    ScriptedDevice() {
        m_host.slot().SetOnMessage([this](const HostRecord& m) { OnMessage(m); });
    }
    uint32_t port() const { return m_host.localPort; }
    // The device answers whoever it is aimed at (the client's local port).
    void AimAt(uint32_t clientPort) { m_host.Aim(clientPort); }

    // Waits for a script that is running to finish, so that once this returns an old handler is
    // neither running nor called again, and what it wrote is visible to the caller.
    void On(uint16_t code, Handler handler) {
        std::lock_guard running(m_runMutex);
        std::lock_guard lock(m_mutex);
        m_handlers[code] = std::move(handler);
    }
    // Every request received, as (code, payload).
    std::vector<std::pair<uint16_t, Bytes>> Requests() {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }
    // The library answers empty-answer messages before it hands them up, so a client may be done
    // before the script has seen its last request: wait for it.
    bool WaitForRequests(size_t n) {
        for (int i = 0; i < 2000; ++i) {
            if (Requests().size() >= n)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
    std::vector<uint16_t> Codes() {
        std::vector<uint16_t> codes;
        for (const auto& r : Requests())
            codes.push_back(r.first);
        return codes;
    }

private:
    void OnMessage(const HostRecord& m) {
        const uint32_t n = m.dataLength();
        if (n < 2)
            return;
        const uint16_t code = m.code();
        const Bytes payload(m.record.data + 2, m.record.data + n);
        Handler handler;
        {
            std::lock_guard lock(m_mutex);
            m_requests.emplace_back(code, payload);
            if (auto it = m_handlers.find(code); it != m_handlers.end())
                handler = it->second;
        }
        if (!handler || !(m.flags() & velnet::mfFullAnswer))
            return;
        // One script at a time; On() waits on this too (the client learns of an answer through a
        // socket, which orders nothing for the test's own reads).
        std::lock_guard running(m_runMutex);
        if (const auto answer = handler(payload)) {
            uint32_t ok = 0;
            Api().SendAnswer(m_host.handle, m.id(), static_cast<uint32_t>(answer->size()), answer->data(),
                             &ok);
        }
    }

    std::mutex m_runMutex; // held while a script runs
    std::mutex m_mutex;
    std::map<uint16_t, Handler> m_handlers;
    std::vector<std::pair<uint16_t, Bytes>> m_requests;
    VelnetHost<1> m_host; // last, so that its threads end before the script is destroyed
};

} // namespace zarno::testing
