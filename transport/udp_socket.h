#pragma once
// The UDP port object: one IPv4 datagram socket; one transport message is one datagram.

#include "transport/abstract_socket.h"

namespace velnet {

class TUDPIPSocket;

class TWaitUDPThread : public TWaitPortThread {
public:
    explicit TWaitUDPThread(TUDPIPSocket* port);

protected:
    void Execute() override;
};

class TUDPIPSocket : public TUDPAbstractSocket {
public:
    static constexpr uint32_t kAnswerTimeoutMs = 250;
    static constexpr int kSocketBufferBytes = 65536;

    // Opens the socket bound to localPort (library port convention); EUDPSocketError on failure.
    explicit TUDPIPSocket(uint32_t localPort);
    ~TUDPIPSocket() override;

    void CreateHandle(const void* params, uint32_t size) override;
    void SetParams(const void* params, uint32_t size) override;
    void StopThread() override;
    void ClosePort() override;
    int Setup() override;
    int Bind() override;
    int CreateMsgBuf() override;
    void CreateReader() override;
    std::string CreateErrorText() override;
    std::string SetupErrorText() override;
    std::string MsgBufErrorText() override;
    std::string BindErrorText() override;
    uint32_t AnswerTimeout() override { return kAnswerTimeoutMs; }
    int SendTo(uint32_t addr, uint32_t port, uint32_t length, const void* data) override;
    bool SetupDialog(void*) override { return false; }
    void GetConfig(const void** config, uint32_t* size) override;
    bool IsMyAddress(uint32_t address) override { return address == LocalAddr; }

    // For the receive thread: waits for a datagram or the stop signal. True when a datagram is
    // waiting.
    bool WaitReadable();

private:
    // Closing wakes the receive thread through this descriptor; nothing is sent anywhere.
    int m_wake = -1;
    // The error code of the failed step, for its text (the failure may be reported from another
    // thread than the one that set the thread's last error).
    int m_lastError = 0;
};

} // namespace velnet
