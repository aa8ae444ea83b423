#pragma once
// The request/answer engine. It owns one port object and a thread of its own; it sends one message at
// a time and, unless no answer is wanted, waits for its answer, repeating it up to five times; it
// answers incoming messages with empty answers where due, drops repeated copies of messages it has
// delivered, lets its owner send full answers, and reports everything through six notifications.

#include "transport/abstract_socket.h"
#include "transport/event.h"
#include "transport/message.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace velnet {

class TUDPTransport;

template <class Proc> struct Notification {
    Proc proc = nullptr;
    void* context = nullptr;
};

using AnswerNotify = void (*)(void* context, TThread* sender, TTransportMessage* record, uint32_t size);
using MessageNotify = void (*)(void* context, TThread* sender, int32_t noAnswer, TTransportMessage* record,
                               uint32_t size);
using DeliveredNotify = void (*)(void* context, TUDPTransport* engine, TTransportMessage* record,
                                 uint32_t size);
using RecordNotify = void (*)(void* context, const TTransportMessage* record);
using BeforeSendNotify = void (*)(void* context, TUDPTransport* engine);

class TUDPTransport : public TThreadPublicSync {
public:
    static constexpr int kMaxTransmissions = 6;

    // kVelnetKindSerial makes a serial port with localAddr as this side's line address; any other
    // kind a UDP socket with localAddr as its local port. EUDPSocketError leaves when the port cannot be
    // made.
    static std::unique_ptr<TUDPTransport> Create(uint32_t kind, uint32_t localAddr, uint32_t groupFlag,
                                                 uint32_t groupAddr, const void* serialParams);
    // An engine over a port made elsewhere (tests use a fake port).
    TUDPTransport(std::unique_ptr<TUDPAbstractSocket> port, uint32_t groupFlag, uint32_t groupAddr);
    ~TUDPTransport() override;

    // Bound by the owner before Start; the thread is created suspended.
    Notification<AnswerNotify> OnAnswer;
    Notification<MessageNotify> OnMessage;
    Notification<DeliveredNotify> OnDelivered;
    Notification<RecordNotify> OnSent;
    Notification<RecordNotify> OnReceived;
    Notification<BeforeSendNotify> OnBeforeSend;

    // Starts the engine thread and the port's delivery to the engine; frames that arrived before
    // are dropped.
    void StartEngine();

    bool QueueMessage(uint32_t addr, uint32_t port, uint32_t code, uint32_t answerWanted, uint32_t length,
                      const void* data);
    bool SendAnswer(uint32_t addr, uint32_t port, uint32_t id, uint32_t length, const void* data);
    bool WaitIdle(uint32_t count);
    void Cancel();
    void Stop();
    bool IsGroup(uint32_t port) const { return GroupFlag != 0 && port == GroupAddr; }

    bool IsBusy() const { return Busy.load(std::memory_order_acquire); }
    uint32_t CurrentIdentifier() const { return CurrentId.load(std::memory_order_acquire); }
    TUDPAbstractSocket* Port() const { return Socket.get(); }
    // A copy of the message held for sending (tests compare it across a refused QueueMessage).
    TTransportMessage OutMessage();

    std::atomic<bool> DebugActive{false};

protected:
    void Execute() override;
    // Called by the engine thread when the transmissions of a message are over and it is still
    // busy: the moment at which a late answer can arrive. A seam for tests; nothing else uses it.
    virtual void AttemptsOver() {}

private:
    static void ReceiveThunk(void* context, TThread* sender, uint32_t addr, uint32_t port,
                             const uint8_t* data, uint32_t count);
    void HandleReceived(TThread* sender, uint32_t addr, uint32_t port, const uint8_t* data, uint32_t count);
    void HandleAnswer(TThread* sender);
    void HandleMessage(TThread* sender);
    void SendEmptyAnswer(const TTransportMessage& message);
    void ResendAnswer(const TTransportMessage& message);
    bool IsNoAnswerMessage() const;
    bool Transmit(TTransportMessage& message);
    bool RunAttempts(bool noAnswer);
    // Sends the queued message, with its repeats, and goes idle; true when it counts as delivered.
    // report receives the message as it went out.
    bool Process(TTransportMessage& report);
    void SetIdle();
    // Whether a frame from addr/port may answer the outstanding message.
    bool FromAddressee(uint32_t addr, uint32_t port) const;

    const uint32_t GroupFlag;
    const uint32_t GroupAddr;
    std::unique_ptr<TUDPAbstractSocket> Socket;
    Event SendEvent{Event::Reset::Auto};
    Event AnswerEvent{Event::Reset::Auto};
    std::atomic<bool> Busy{false};
    std::mutex IdleLock; // with IdleSignal: WaitIdle learns at once when Busy clears
    std::condition_variable IdleSignal;
    std::mutex Lock;
    std::atomic<bool> Cancelled{false};
    std::atomic<bool> Answered{false}; // the outstanding message has had its answer
    // The message being sent and repeated. Full answers of the host are built in AnswerMsg instead,
    // so that an answer sent while a message is outstanding never changes what its repeats carry.
    TTransportMessage OutMsg{};
    TTransportMessage AnswerMsg{};
    bool HaveAnswer = false; // AnswerMsg holds the last full answer sent (guarded by the port lock)
    TTransportMessage InMsg{};
    std::atomic<uint32_t> CurrentId{0};
    // Where the outstanding message went (address in the high half, port in the low half): set
    // with CurrentId, before Busy, and read by the receive thread without the port lock.
    std::atomic<uint64_t> Addressee{0};
    uint32_t LastReceivedId = 0;
};

} // namespace velnet
