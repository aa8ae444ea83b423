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

// What one host saw. The library calls in from its threads; the test reads copies.
class HostSlot {
public:
    using List = std::vector<HostRecord> HostSlot::*;
    static const List kMessages, kAnswers, kDelivered;

    void Reset() {
        std::lock_guard lock(m_mutex);
        m_messages.clear();
        m_answers.clear();
        m_delivered.clear();
        m_onMessage = nullptr;
    }
    // Runs in the receive thread after a message has been recorded.
    void SetOnMessage(std::function<void(const HostRecord&)> f) {
        std::lock_guard lock(m_mutex);
        m_onMessage = std::move(f);
    }
    void Push(List list, int32_t noAnswer, void* record, uint32_t size) {
        HostRecord r;
        r.noAnswer = noAnswer;
        r.size = size;
        std::memcpy(&r.record, record, std::min<size_t>(size, sizeof r.record));
        std::function<void(const HostRecord&)> then;
        {
            std::lock_guard lock(m_mutex);
            (this->*list).push_back(r);
            if (list == kMessages)
                then = m_onMessage;
        }
        m_cv.notify_all();
        if (then)
            then(r);
    }
    std::vector<HostRecord> Get(List list) {
        std::lock_guard lock(m_mutex);
        return this->*list;
    }
    size_t Count(List list) { return Get(list).size(); }
    bool WaitCount(List list, size_t n, std::chrono::seconds limit = std::chrono::seconds(20)) {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, limit, [&] { return (this->*list).size() >= n; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<HostRecord> m_messages, m_answers, m_delivered;
    std::function<void(const HostRecord&)> m_onMessage;
};

inline const HostSlot::List HostSlot::kMessages = &HostSlot::m_messages;
inline const HostSlot::List HostSlot::kAnswers = &HostSlot::m_answers;
inline const HostSlot::List HostSlot::kDelivered = &HostSlot::m_delivered;

inline HostSlot g_slots[4];

template <int N> struct SlotCallbacks {
    static void Message(void*, int32_t noAnswer, void* record, uint32_t size) {
        g_slots[N].Push(HostSlot::kMessages, noAnswer, record, size);
    }
    static void Answer(void*, void* record, uint32_t size) {
        g_slots[N].Push(HostSlot::kAnswers, 0, record, size);
    }
    static void Delivered(void*, void* record, uint32_t size) {
        g_slots[N].Push(HostSlot::kDelivered, 0, record, size);
    }
    static void BeforeSend(void*) {}
};

inline bool Failed(const HostRecord& r) {
    return (r.flags() & 3) == 3;
}

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
        slot().Reset();
        localPort = velnet::ValueFromWirePort(FreeWirePort());
        handle = Api().CreateTransport(kVelnetKindUdp, localPort, 0, 0, nullptr, 0);
        Api().ConnectClient(handle, kClientId, &SlotCallbacks<N>::Message, &SlotCallbacks<N>::Answer,
                            &SlotCallbacks<N>::Delivered, &SlotCallbacks<N>::BeforeSend, lo, hi);
        uint32_t ok = 0;
        Api().SelectClient(handle, kClientId, &ok);
        Api().SetTransportRemoteAddr(handle, htonl(INADDR_LOOPBACK));
    }
    ~VelnetHost() {
        Api().CancelTransport(handle);
        Api().DestroyTransport(handle);
        slot().SetOnMessage(nullptr);
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
    bool WaitDelivered(size_t n) { return slot().WaitCount(HostSlot::kDelivered, n); }
    bool WaitAnswers(size_t n) { return slot().WaitCount(HostSlot::kAnswers, n); }
    bool WaitMessages(size_t n) { return slot().WaitCount(HostSlot::kMessages, n); }
    std::vector<HostRecord> Delivered() { return slot().Get(HostSlot::kDelivered); }
    std::vector<HostRecord> Answers() { return slot().Get(HostSlot::kAnswers); }
    std::vector<HostRecord> Messages() { return slot().Get(HostSlot::kMessages); }
    static HostSlot& slot() { return g_slots[N]; }

    uint32_t handle = 0;
    uint32_t localPort = 0;
};

} // namespace zarno::testing
