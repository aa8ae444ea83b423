#include "transport/udp_transport.h"

#include "transport/com_socket.h"
#include "transport/udp_socket.h"
#include "transport/velnet.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <thread>

namespace velnet {

namespace {

std::unique_ptr<TUDPAbstractSocket> MakePort(uint32_t kind, uint32_t localAddr, uint32_t groupFlag,
                                             uint32_t groupAddr, const void* serialParams) {
    if (kind == kVelnetKindSerial)
        return std::make_unique<TMervoComSocket>(localAddr, serialParams, groupFlag, groupAddr);
    return std::make_unique<TUDPIPSocket>(localAddr);
}

uint32_t RandomIdentifier() {
    std::minstd_rand generator(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    return static_cast<uint32_t>(generator() & 0xFF);
}

} // namespace

std::unique_ptr<TUDPTransport> TUDPTransport::Create(uint32_t kind, uint32_t localAddr, uint32_t groupFlag,
                                                     uint32_t groupAddr, const void* serialParams) {
    return std::make_unique<TUDPTransport>(MakePort(kind, localAddr, groupFlag, groupAddr, serialParams),
                                           groupFlag, groupAddr);
}

TUDPTransport::TUDPTransport(std::unique_ptr<TUDPAbstractSocket> port, uint32_t groupFlag, uint32_t groupAddr)
    : GroupFlag(groupFlag), GroupAddr(groupAddr), Socket(std::move(port)) {
    CurrentId.store(RandomIdentifier());
    SetPriority(1);
}

TUDPTransport::~TUDPTransport() {
    Stop();
    WaitFor();
    // The port's receive thread calls into this engine (and reads Socket) until it has ended, so it
    // is ended before the port is let go.
    Socket->Close();
    Socket.reset();
}

void TUDPTransport::StartEngine() {
    Socket->SetOnReceive(&TUDPTransport::ReceiveThunk, this);
    Start();
}

TTransportMessage TUDPTransport::OutMessage() {
    const auto portLock = Socket->Locked();
    return OutMsg;
}

bool TUDPTransport::QueueMessage(uint32_t addr, uint32_t port, uint32_t code, uint32_t answerWanted,
                                 uint32_t length, const void* data) {
    if (Busy.load(std::memory_order_acquire))
        return false;
    const auto portLock = Socket->Locked();
    // The new identifier is in place before Busy is set: whoever sees this message busy compares
    // answers with its identifier, never with the previous message's (see HandleAnswer).
    const uint32_t id = (CurrentId.load() + 1) & 0xFF;
    CurrentId.store(id, std::memory_order_release);
    Addressee.store((uint64_t{addr} << 32) | port, std::memory_order_release);
    // Cleared here rather than when the engine thread picks the message up, so that a Cancel that
    // comes right after queueing is not lost.
    Cancelled.store(false);
    Answered.store(false);
    Busy.store(true, std::memory_order_release);
    OutMsg.addr = addr;
    OutMsg.port = port;
    OutMsg.data[0] = static_cast<uint8_t>(code & 0xFF);
    OutMsg.data[1] = static_cast<uint8_t>((code >> 8) & 0xFF);
    const uint32_t copied = (data && length) ? std::min(length, kMaxPayload) : 0;
    if (copied)
        std::memcpy(OutMsg.data + 2, data, copied);
    uint8_t flags = 0;
    if (answerWanted == awFull)
        flags = mfFullAnswer;
    else if (answerWanted == awNone)
        flags = mfNoAnswer;
    OutMsg.header = MakeHeader(flags, static_cast<uint8_t>(id), static_cast<uint16_t>((copied + 2) / 2));
    SendEvent.Set();
    return true;
}

bool TUDPTransport::IsNoAnswerMessage() const {
    return Socket->IsBroadcast(OutMsg.addr) || IsGroup(OutMsg.port) ||
           (HeaderFlags(OutMsg.header) & mfNoAnswer) != 0;
}

// Hands one message to the port under its lock; OnSent runs while the lock is still held.
bool TUDPTransport::Transmit(TTransportMessage& message) {
    const auto portLock = Socket->Locked();
    const bool accepted =
        Socket->SendTo(message.addr, message.port, UDPBufLength(message.header), &message.header) >= 0;
    if (accepted && OnSent.proc)
        OnSent.proc(OnSent.context, &message);
    return accepted;
}

// Up to six transmissions; true when the message counts as delivered (or the wait was abandoned).
bool TUDPTransport::RunAttempts(bool noAnswer) {
    for (int attempt = 0; attempt < kMaxTransmissions; ++attempt) {
        const bool accepted = Transmit(OutMsg);
        if (!accepted || noAnswer)
            return accepted;
        const bool answered = AnswerEvent.Wait(static_cast<int>(Socket->AnswerTimeout()));
        if (Terminated() || Cancelled.load())
            return true;
        if (answered)
            return true;
        OutMsg.header |= mfRepeat;
    }
    return false;
}

void TUDPTransport::Execute() {
    for (;;) {
        SendEvent.Wait(Event::kInfinite);
        if (Terminated())
            break;
        if (OnBeforeSend.proc)
            OnBeforeSend.proc(OnBeforeSend.context, this);
        // An answer that came after the previous message was given up may have left the event set;
        // it must not count for this one.
        AnswerEvent.Clear();
        TTransportMessage report;
        const bool delivered = Process(report);
        if (!delivered || Cancelled.load())
            report.header |= kDeliveryFailedMask;
        if (!Terminated() && OnDelivered.proc)
            OnDelivered.proc(OnDelivered.context, this, &report, ClientServerBufLength(report.header));
    }
}

bool TUDPTransport::Process(TTransportMessage& report) {
    const bool noAnswer = IsNoAnswerMessage();
    // An answer that comes for a no-answer message waits on this lock until Busy is clear, and is
    // then ignored.
    std::unique_lock noAnswerLock(Lock, std::defer_lock);
    if (noAnswer)
        noAnswerLock.lock();
    const bool delivered = RunAttempts(noAnswer);
    AttemptsOver();
    // The report is built from a copy: once Busy is clear the host may queue the next message into
    // OutMsg while the report is still being handed up.
    report = OutMsg;
    SetIdle();
    return delivered;
}

void TUDPTransport::SetIdle() {
    {
        std::lock_guard idle(IdleLock);
        Busy.store(false, std::memory_order_release);
    }
    IdleSignal.notify_all();
}

void TUDPTransport::ReceiveThunk(void* context, TThread* sender, uint32_t addr, uint32_t port,
                                 const uint8_t* data, uint32_t count) {
    static_cast<TUDPTransport*>(context)->HandleReceived(sender, addr, port, data, count);
}

void TUDPTransport::HandleReceived(TThread* sender, uint32_t addr, uint32_t port, const uint8_t* data,
                                   uint32_t count) {
    // The port says whether its line needs a pause before a frame is handled (a serial line does).
    if (const auto pause = Socket->ReceivePause(); pause.count() > 0)
        std::this_thread::sleep_for(pause);
    if (count < kHeaderSize)
        return; // not even a header: nothing to hand up
    const uint32_t header =
        uint32_t{data[0]} | (uint32_t{data[1]} << 8) | (uint32_t{data[2]} << 16) | (uint32_t{data[3]} << 24);
    const bool isAnswer = (HeaderFlags(header) & mfAnswer) != 0;
    if (isAnswer &&
        (ExtractMessageID(header) != CurrentId.load(std::memory_order_acquire) || !FromAddressee(addr, port)))
        return;

    // InMsg belongs to the receive thread alone. The header's length is a claim: it is cut to the
    // data really received, so no one downstream reads past them.
    const uint32_t kept = std::min(count, kMaxWireMessage);
    InMsg.addr = addr;
    InMsg.port = port;
    std::memcpy(&InMsg.header, data, kept);
    const uint32_t wordsReceived = (kept - kHeaderSize) / 2;
    if (HeaderWords(InMsg.header) > wordsReceived)
        InMsg.header = (InMsg.header & 0xFFFF) | (wordsReceived << 16);
    if (OnReceived.proc)
        OnReceived.proc(OnReceived.context, &InMsg);

    if (isAnswer)
        HandleAnswer(sender);
    else
        HandleMessage(sender);
}

void TUDPTransport::HandleAnswer(TThread* sender) {
    {
        std::lock_guard lock(Lock);
        if (!Busy.load(std::memory_order_acquire))
            return;
        // The identifier was checked on arrival, but the host may have queued its next message
        // since: a copy of the previous answer would then be taken for the new message's, and its
        // data handed up in place of the new answer's. Seen busy, the new identifier is in place.
        if (ExtractMessageID(InMsg.header) != CurrentId.load(std::memory_order_acquire) ||
            !FromAddressee(InMsg.addr, InMsg.port))
            return;
        // Only the first answer counts. A second one (the peer answered a duplicated or repeated
        // copy) would otherwise reach the host while it is still reading the first.
        if (Answered.exchange(true))
            return;
    }
    AnswerEvent.Set();
    if (OnAnswer.proc)
        OnAnswer.proc(OnAnswer.context, sender, &InMsg, ClientServerBufLength(InMsg.header));
}

bool TUDPTransport::FromAddressee(uint32_t addr, uint32_t port) const {
    const uint64_t to = Addressee.load(std::memory_order_acquire);
    return Socket->MayAnswer(static_cast<uint32_t>(to >> 32), static_cast<uint32_t>(to & 0xFFFFFFFF), addr, port);
}

void TUDPTransport::HandleMessage(TThread* sender) {
    const uint8_t flags = HeaderFlags(InMsg.header);
    const bool noAnswer = IsGroup(InMsg.port) || (flags & mfNoAnswer) != 0;
    if ((flags & mfFullAnswer) == 0 && !noAnswer)
        SendEmptyAnswer(InMsg);
    if (!OnMessage.proc)
        return;
    const uint32_t id = ExtractMessageID(InMsg.header);
    if (LastReceivedId == id && (flags & mfRepeat) != 0) {
        // A repeat of what was already delivered: the host is not told again. When it wanted a full
        // answer, the host's answer to it was lost on the way back, and the sender would repeat in
        // vain: the same answer goes out again.
        if ((flags & mfFullAnswer) != 0)
            ResendAnswer(InMsg);
        return;
    }
    LastReceivedId = id;
    OnMessage.proc(OnMessage.context, sender, noAnswer ? -1 : 0, &InMsg, ClientServerBufLength(InMsg.header));
}

void TUDPTransport::SendEmptyAnswer(const TTransportMessage& message) {
    TTransportMessage answer{};
    answer.addr = message.addr;
    answer.port = message.port;
    const uint8_t flags = static_cast<uint8_t>((HeaderFlags(message.header) | mfAnswer) & ~mfRepeat);
    answer.header = MakeHeader(flags, static_cast<uint8_t>(ExtractMessageID(message.header)), 0);
    const bool accepted = Socket->LockedSend(answer.addr, answer.port, kHeaderSize, &answer.header) >= 0;
    if (accepted && OnSent.proc)
        OnSent.proc(OnSent.context, &answer);
}

bool TUDPTransport::SendAnswer(uint32_t addr, uint32_t port, uint32_t id, uint32_t length, const void* data) {
    const auto portLock = Socket->Locked();
    AnswerMsg.addr = addr;
    AnswerMsg.port = port;
    const uint32_t copied = (data && length) ? std::min(length, kMaxMessageData) : 0;
    if (copied)
        std::memcpy(AnswerMsg.data, data, copied);
    AnswerMsg.header = MakeHeader(mfAnswer | mfFullAnswer, static_cast<uint8_t>(id & 0xFF),
                                  static_cast<uint16_t>(copied / 2));
    const bool accepted = Transmit(AnswerMsg);
    HaveAnswer = accepted;
    return accepted;
}

// A repeat of a message that was answered in full: the answer was lost on the way back, so the
// same answer goes out again, if it was this peer's and this message's.
void TUDPTransport::ResendAnswer(const TTransportMessage& message) {
    const auto portLock = Socket->Locked();
    const bool same = HaveAnswer && AnswerMsg.addr == message.addr && AnswerMsg.port == message.port &&
                      ExtractMessageID(AnswerMsg.header) == ExtractMessageID(message.header);
    if (same)
        Transmit(AnswerMsg);
}

// Each of the count tries gives the engine up to a millisecond to finish. Yielding alone, as the
// count was once meant, lasts only microseconds on a busy machine: a host that sends its next
// message as soon as the answer to the last one arrived would often find the engine still handing
// that answer up, and its send would fail for no reason.
bool TUDPTransport::WaitIdle(uint32_t count) {
    if (!Busy.load(std::memory_order_acquire))
        return true;
    const uint64_t tries = DebugActive.load() ? uint64_t{count} * 10 : count;
    std::unique_lock lock(IdleLock);
    for (uint64_t i = 0; i < tries; ++i) {
        if (IdleSignal.wait_for(lock, std::chrono::milliseconds(1),
                                [this] { return !Busy.load(std::memory_order_acquire); }))
            return true;
    }
    return !Busy.load(std::memory_order_acquire);
}

void TUDPTransport::Cancel() {
    if (Busy.load(std::memory_order_acquire))
        Cancelled.store(true);
}

void TUDPTransport::Stop() {
    Terminate();
    // The engine thread waits for an answer while busy and for a message to send while idle. The
    // event it does not wait for is set first, so that once the awaited one wakes it, the wait it
    // comes to on its way out finds its event set too, and it leaves without blocking again.
    const bool waitsForAnswer = Busy.load();
    Event& awaited = waitsForAnswer ? AnswerEvent : SendEvent;
    Event& other = waitsForAnswer ? SendEvent : AnswerEvent;
    other.Set();
    awaited.Set();
    // A thread that never ran has to run to see that it is to end.
    if (Suspended())
        Start();
}

} // namespace velnet
