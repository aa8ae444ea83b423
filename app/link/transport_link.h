#pragma once
// The program's binding to the transport library: libvelnet.so loaded by name, its exports, the
// transport handle, the four callbacks the program registers as the library's client, and one
// request/answer exchange at a time with the one answer buffer of the program.
//
// An exchange hands its request to a worker thread that queues the message and waits for its
// outcome, while the calling (user-interface) thread runs a nested event loop, so windows stay alive
// meanwhile. The worker is started with the first exchange and serves every later one: starting a
// thread per exchange cost more than the exchange itself on a fast link.
//
// The library's callbacks are plain functions without a context, so the process has one link. It
// keeps no pointer into its owners past their lifetime: an owner attaches its prompts and detaches
// them when it goes, and the transport handle is the link's own, made and ended through it.

#include "app/link/velnet_api.h"
#include "app/seams/prompts.h"
#include "app/link/link_event.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class QEventLoop;

namespace zarno {

// One exchange's request. The completion message names the exchange (0x400 + code for the remote
// disk commands); the nested loop ends when the worker posts it.
struct TransportRequest {
    uint32_t completionMessage = 0;
    uint32_t code = 0;
    uint32_t answerWanted = 0;
    uint32_t length = 0;
    const void* payload = nullptr;
};

class CTransportLink {
public:
    static constexpr uint32_t kReplyBufferSize = 520;
    static constexpr uint32_t kNotifyBufferSize = 524;
    static constexpr uint32_t kWaitCount = 250;
    static constexpr uint32_t kDeviceNotifyCode = 73;
    static constexpr uint32_t kDeviceDataCode = 41;

    // The one instance; its callbacks are plain functions of the library's interface.
    static CTransportLink& Instance();

    // The link tells the user of its failures through the prompts of the owner attached last. An
    // owner detaches its prompts before they go; the link then falls back to those of the owner
    // attached before, or tells no one.
    void AttachPrompts(Prompts& prompts);
    void DetachPrompts(const Prompts& prompts);
    Prompts* prompts() const;

    bool LoadTransport();
    // Loads the library at this path instead (tests use a library that lacks an export).
    bool LoadTransportFrom(const std::string& path);
    // Ends the transport, if one is open, and lets the library go.
    void UnloadTransport();
    bool IsLoaded() const { return m_api.IsLoaded(); }
    const VelnetApi& Api() const { return m_api; }

    // The connection's transport in the loaded library (arguments as CreateTransport takes them);
    // false when the library made none. One at a time: opening a second ends the first.
    bool OpenTransport(uint32_t kind, uint32_t localAddr, uint32_t groupAddr, const void* settings,
                       uint32_t settingsSize);
    // Abandons what the transport is sending and destroys it; nothing when none is open.
    void CloseTransport();
    // The open transport's handle for the library's calls, 0 when none is open.
    uint32_t Handle() const { return m_transport.load(std::memory_order_acquire); }

    // Fresh events for a new connection.
    void ResetEvents();

    // One exchange; afterwards ReplySuccess, ReplyBuffer and ReplyLength hold its outcome. A second
    // exchange started while one runs (from inside the nested loop) is refused and fails.
    void SendAndWait(const TransportRequest& request);
    bool InExchange() const { return m_inExchange; }

    bool ReplySuccess() const { return m_replySuccess.load(std::memory_order_acquire); }
    const uint8_t* ReplyBuffer() const { return m_replyBuffer; }
    uint32_t ReplyLength() const { return m_replyLength.load(std::memory_order_acquire); }

    // What the device sent on its own: code 73's data (code word included) and code 41's. Code 41
    // is kept apart from the answer buffer, so that a device message arriving during a transfer can
    // never overwrite a block that is about to be read.
    uint32_t NotifyLength() const { return m_notifyLength; }
    const uint8_t* NotifyBuffer() const { return m_notifyBuffer; }
    uint32_t DeviceDataLength() const { return m_deviceDataLength; }
    const uint8_t* DeviceDataBuffer() const { return m_deviceDataBuffer; }

    // The callbacks registered with ConnectClient, in the library's order.
    static void OnLinkMessage(void* sender, int32_t noAnswer, void* record, uint32_t size);
    static void OnLinkAnswer(void* sender, void* record, uint32_t size);
    static void OnLinkDelivered(void* engine, void* record, uint32_t size);
    static void OnLinkBeforeSend(void* engine);

private:
    enum class WorkerFailure { None, CannotSend, NotDelivered };

    CTransportLink() = default;
    ~CTransportLink();
    bool StartWorker();
    void WorkerLoop();
    WorkerFailure RunWorker(const TransportRequest& request);
    void ShowError(const char* text);
    static uint32_t DataBytes(const void* record, uint32_t size, uint32_t capacity);

    VelnetApi m_api;
    std::atomic<uint32_t> m_transport{0};
    mutable std::mutex m_promptsLock;
    std::vector<Prompts*> m_attachedPrompts; // in the order attached; the last one speaks
    LinkEvent m_startEvent;
    LinkEvent m_replyEvent;
    std::atomic<bool> m_exchangeStarted{false};
    std::atomic<bool> m_replySuccess{false};
    std::atomic<uint32_t> m_replyLength{0};
    uint8_t m_replyBuffer[kReplyBufferSize] = {};
    uint8_t m_notifyBuffer[kNotifyBufferSize] = {};
    std::atomic<uint32_t> m_notifyLength{0};
    uint8_t m_deviceDataBuffer[kReplyBufferSize] = {};
    std::atomic<uint32_t> m_deviceDataLength{0};
    bool m_inExchange = false;

    // The worker and the exchange it serves; the job is written before StartEvent is set and read
    // after the worker's DoneEvent, so the events order the accesses.
    std::thread m_worker;
    std::atomic<bool> m_stopWorker{false};
    LinkEvent m_doneEvent;
    TransportRequest m_job;
    QEventLoop* m_jobLoop = nullptr;
    WorkerFailure m_jobFailure = WorkerFailure::None;
};

} // namespace zarno
