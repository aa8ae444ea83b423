#pragma once
// A test host of libvelnet.so: loads it through the run-time binding, creates a UDP transport on a
// free loopback port, registers as a client and records every callback. The library's callbacks
// carry no context, so each host is one of a few fixed slots with callbacks of its own.

#include "app/link/velnet_api.h"
#include "transport/message.h"
#include "transport/port_convention.h"

#include "tests/support/free_port.h"

#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <vector>

namespace zarno::testing {

struct HostRecord {
    int32_t noAnswer = 0;
    velnet::TTransportMessage record{};
    uint32_t size = 0;
    uint32_t flags() const { return velnet::HeaderFlags(record.header); }
    uint32_t id() const { return (record.header >> 8) & 0xFF; }
    uint32_t dataLength() const { return velnet::HeaderWords(record.header) * 2; }
    uint16_t code() const { return velnet::MessageCode(record); }
};

struct HostSlot {
    std::mutex mutex;
    std::condition_variable cv;
    std::vector<HostRecord> messages, answers, delivered;
    int beforeSend = 0;
    // Runs in the receive thread after a message has been recorded.
    std::function<void(const HostRecord&)> onMessage;

    void Push(std::vector<HostRecord>& list, int32_t noAnswer, void* record, uint32_t size) {
        HostRecord r;
        r.noAnswer = noAnswer;
        r.size = size;
        std::memcpy(&r.record, record, std::min<size_t>(size, sizeof r.record));
        {
            std::lock_guard lock(mutex);
            list.push_back(r);
        }
        cv.notify_all();
        if (&list == &messages && onMessage)
            onMessage(r);
    }
    template <class F> bool Wait(F ready, std::chrono::seconds limit = std::chrono::seconds(20)) {
        std::unique_lock lock(mutex);
        return cv.wait_for(lock, limit, ready);
    }
    size_t Count(const std::vector<HostRecord>& list) {
        std::lock_guard lock(mutex);
        return list.size();
    }
};

inline HostSlot g_slots[4];

template <int N> struct SlotCallbacks {
    static void Message(void*, int32_t noAnswer, void* record, uint32_t size) {
        g_slots[N].Push(g_slots[N].messages, noAnswer, record, size);
    }
    static void Answer(void*, void* record, uint32_t size) { g_slots[N].Push(g_slots[N].answers, 0, record, size); }
    static void Delivered(void*, void* record, uint32_t size) {
        g_slots[N].Push(g_slots[N].delivered, 0, record, size);
    }
    static void BeforeSend(void*) {
        std::lock_guard lock(g_slots[N].mutex);
        ++g_slots[N].beforeSend;
    }
};

inline bool Failed(const HostRecord& r) { return (r.flags() & 3) == 3; }

inline VelnetApi& Api() {
    static VelnetApi api;
    if (!api.IsLoaded()) {
        std::string error;
        if (!api.Load(&error))
            throw std::runtime_error("cannot load libvelnet.so: " + error);
    }
    return api;
}

// One UDP transport of the library, on a free port, its client registered for codes lo..hi and
// selected, its remote address 127.0.0.1.
template <int N> class VelnetHost {
public:
    static constexpr uint32_t kClientId = 0x5A000000 + N;

    explicit VelnetHost(uint32_t lo = 0, uint32_t hi = 65535) {
        slot().messages.clear();
        slot().answers.clear();
        slot().delivered.clear();
        localPort = velnet::ValueFromWirePort(FreeWirePort());
        handle = Api().CreateTransport(0, localPort, 0, 0, nullptr, 0);
        Api().ConnectClient(handle, kClientId, &SlotCallbacks<N>::Message, &SlotCallbacks<N>::Answer,
                            &SlotCallbacks<N>::Delivered, &SlotCallbacks<N>::BeforeSend, lo, hi);
        uint32_t ok = 0;
        Api().SelectClient(handle, kClientId, &ok);
        Api().SetTransportRemoteAddr(handle, htonl(INADDR_LOOPBACK));
    }
    ~VelnetHost() {
        Api().CancelTransport(handle);
        Api().DestroyTransport(handle);
        slot().onMessage = nullptr;
    }
    VelnetHost(const VelnetHost&) = delete;
    VelnetHost& operator=(const VelnetHost&) = delete;

    void Aim(uint32_t remotePortValue) { Api().SetTransportRemotePort(handle, remotePortValue); }
    template <int M> void Aim(const VelnetHost<M>& other) { Aim(other.localPort); }

    bool Send(uint32_t code, uint32_t answerWanted, const std::vector<uint8_t>& payload = {},
              uint32_t waitCount = 100000) {
        uint32_t ok = 0;
        const uint32_t r = Api().WaitAndSendMessage(handle, waitCount, code, answerWanted,
                                                    static_cast<uint32_t>(payload.size()),
                                                    payload.empty() ? nullptr : payload.data(), &ok);
        return r == 1 && ok == 1;
    }
    bool WaitDelivered(size_t n) {
        return slot().Wait([&] { return slot().delivered.size() >= n; });
    }
    static HostSlot& slot() { return g_slots[N]; }

    uint32_t handle = 0;
    uint32_t localPort = 0;
};

} // namespace zarno::testing
