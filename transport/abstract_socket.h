#pragma once
// The port object: the seam between the engine and one kind of line (UDP socket or serial port).
// It fixes the order in which a port is opened, owns the receive thread and buffer, serialises
// transmissions, and turns every failure of opening into an EUDPSocketError with a text for the user.

#include "transport/port_convention.h"
#include "transport/thread.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace velnet {

class TUDPAbstractSocket;

// 255.255.255.255: every host of the network.
constexpr uint32_t kBroadcastAddress = 0xFFFFFFFF;

// Raised only while a port is being opened; never leaves the library.
class EUDPSocketError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Called by the receive thread for every accepted frame: (context, sender thread, peer address,
// peer port or line address, bytes, number of bytes).
using ReceiveProc = void (*)(void* context, TThread* sender, uint32_t addr, uint32_t port,
                             const uint8_t* data, uint32_t count);

class TWaitPortThread : public TThreadPublicSync {
public:
    explicit TWaitPortThread(TUDPAbstractSocket* port) : Port(port) {}
    TUDPAbstractSocket* const Port;
};

class TUDPAbstractSocket {
public:
    TUDPAbstractSocket() = default;
    TUDPAbstractSocket(const TUDPAbstractSocket&) = delete;
    TUDPAbstractSocket& operator=(const TUDPAbstractSocket&) = delete;
    virtual ~TUDPAbstractSocket();

    // No handle is -1 here: on POSIX 0 is a valid descriptor.
    int Handle = -1;
    uint32_t LocalAddr = 0;
    TWaitPortThread* Reader = nullptr;
    uint32_t BufSize = 0;
    std::vector<uint8_t> Buf;
    bool CanSetup = false;
    bool IsIP = false;

    // Binding happens after the reader has started; frames that come before it are dropped.
    void SetOnReceive(ReceiveProc proc, void* context);
    // For the receive thread: hands one accepted frame to the bound handler, if any.
    void DeliverReceived(TThread* sender, uint32_t addr, uint32_t port, const uint8_t* data, uint32_t count);

    virtual void CreateHandle(const void* params, uint32_t size) = 0;
    virtual void SetParams(const void* params, uint32_t size) = 0;
    virtual void StopThread();
    virtual void ClosePort() = 0;
    virtual int Setup() = 0;
    virtual int Bind() = 0;
    virtual int CreateMsgBuf() = 0;
    virtual void CreateReader() = 0;
    virtual std::string CreateErrorText() = 0;
    virtual std::string SetupErrorText() = 0;
    virtual std::string MsgBufErrorText() = 0;
    virtual std::string BindErrorText() = 0;
    virtual uint32_t AnswerTimeout() = 0;
    virtual int SendTo(uint32_t addr, uint32_t port, uint32_t length, const void* data) = 0;
    virtual bool SetupDialog(void* parentWindow) = 0;
    virtual void GetConfig(const void** config, uint32_t* size) = 0;
    virtual bool IsMyAddress(uint32_t address) = 0;

    // What differs between the kinds of line, asked by the engine rather than decided by it.
    // A message to this address reaches everyone on the line and is answered by no one.
    bool IsBroadcast(uint32_t addr) const { return IsIP && addr == kBroadcastAddress; }
    // Whether a frame from fromAddr/fromPort may be the answer to a message sent to addr/port. Over IP
    // only the addressee may answer: anyone on the network can send a datagram that carries the
    // current identifier. (Broadcast and group messages take no answer at all.) A serial line has
    // one peer, and the source of its frames is whatever address the peer was reached at.
    bool MayAnswer(uint32_t addr, uint32_t port, uint32_t fromAddr, uint32_t fromPort) const {
        return !IsIP || (addr == fromAddr && port == fromPort);
    }
    // How long the engine waits before it handles a frame this port received.
    virtual std::chrono::milliseconds ReceivePause() const { return std::chrono::milliseconds(0); }

    // The port lock serialises every transmission; it is recursive, as a critical section is.
    [[nodiscard]] std::unique_lock<std::recursive_mutex> Locked() { return std::unique_lock(PortLock); }
    int LockedSend(uint32_t addr, uint32_t port, uint32_t length, const void* data);

    // The closing sequence: the receive thread ends, then the handle is closed. The most-derived
    // destructor calls it; an owner may call it earlier, so that the receive thread has ended before
    // the owner lets go of the port. Safe to call twice.
    void Close();

protected:
    // The opening sequence; the most-derived constructor calls it, so that the virtual steps are its
    // own. On failure the partly opened port is torn down and EUDPSocketError leaves.
    void Open(uint32_t localAddr, const void* params, uint32_t size);

private:
    [[noreturn]] void Fail(const std::string& text);

    std::recursive_mutex PortLock;
    std::atomic<ReceiveProc> m_onReceive{nullptr};
    std::atomic<void*> m_onReceiveContext{nullptr};
};

} // namespace velnet
