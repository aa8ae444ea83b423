#pragma once
// A port object for engine tests: records every transmission, can refuse them, and lets the test
// hand the engine frames as if they had been received. Its answer time-out is short.

#include "transport/abstract_socket.h"
#include "transport/event.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

namespace velnet::testing {

struct Transmission {
    uint32_t addr, port;
    std::vector<uint8_t> bytes;
    std::chrono::steady_clock::time_point at;
    uint8_t flags() const { return bytes.at(0); }
    uint8_t id() const { return bytes.at(1); }
};

class FakePort final : public TUDPAbstractSocket {
public:
    explicit FakePort(uint32_t answerTimeoutMs = 40, bool ip = true) : m_timeout(answerTimeoutMs), m_ip(ip) {
        Open(1, nullptr, 0);
    }
    ~FakePort() override { Close(); }

    std::atomic<bool> refuse{false};
    // What ReceivePause answers; set before frames are fed.
    std::chrono::milliseconds receivePause{0};
    // Runs inside SendTo (engine or host thread, under the port lock).
    std::function<void(const Transmission&)> onTransmit;

    // A frame as the receive thread would hand it up (call from one thread at a time).
    void Feed(uint32_t addr, uint32_t port, std::vector<uint8_t> bytes) {
        DeliverReceived(Reader, addr, port, bytes.data(), static_cast<uint32_t>(bytes.size()));
    }

    std::vector<Transmission> Sent() {
        std::lock_guard lock(m_mutex);
        return m_sent;
    }
    bool WaitForSent(size_t count, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, limit, [&] { return m_sent.size() >= count; });
    }

    void CreateHandle(const void*, uint32_t) override {
        IsIP = m_ip;
        Handle = 3;
    }
    void SetParams(const void*, uint32_t) override {}
    void StopThread() override {
        TUDPAbstractSocket::StopThread();
        m_stop.Set();
    }
    void ClosePort() override { Handle = -1; }
    int Setup() override { return 0; }
    int Bind() override { return 0; }
    int CreateMsgBuf() override {
        BufSize = 1080;
        Buf.assign(BufSize, 0);
        return 0;
    }
    void CreateReader() override { Reader = new IdleReader(this, m_stop); }
    std::string CreateErrorText() override { return "create"; }
    std::string SetupErrorText() override { return "setup"; }
    std::string MsgBufErrorText() override { return "buf"; }
    std::string BindErrorText() override { return "bind"; }
    uint32_t AnswerTimeout() override { return m_timeout; }
    int SendTo(uint32_t addr, uint32_t port, uint32_t length, const void* data) override {
        if (refuse)
            return -1;
        const auto* p = static_cast<const uint8_t*>(data);
        Transmission t{addr, port, std::vector<uint8_t>(p, p + length), std::chrono::steady_clock::now()};
        if (onTransmit)
            onTransmit(t);
        {
            std::lock_guard lock(m_mutex);
            m_sent.push_back(t);
        }
        m_cv.notify_all();
        return static_cast<int>(length);
    }
    bool SetupDialog(void*) override { return false; }
    void GetConfig(const void** c, uint32_t* s) override {
        *c = nullptr;
        *s = 0;
    }
    bool IsMyAddress(uint32_t) override { return true; }
    std::chrono::milliseconds ReceivePause() const override { return receivePause; }

private:
    class IdleReader final : public TWaitPortThread {
    public:
        IdleReader(TUDPAbstractSocket* port, Event& stop) : TWaitPortThread(port), m_stopEvent(stop) {}

    protected:
        void Execute() override {
            while (!Terminated())
                m_stopEvent.Wait(Event::kInfinite);
        }

    private:
        Event& m_stopEvent;
    };

    const uint32_t m_timeout;
    const bool m_ip;
    Event m_stop{Event::Reset::Manual};
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<Transmission> m_sent;
};

} // namespace velnet::testing
