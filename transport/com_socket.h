#pragma once
// The serial port object: one terminal device (a COM name mapped to a device path), each transport
// message in one frame (transport/serial_frame.h), and a receive thread that hands up the frames
// addressed to this side. Line addresses stand where UDP has ports: a peer's line address goes up
// as the port, the address is 0.

#include "transport/abstract_socket.h"
#include "transport/com_line.h"
#include "transport/com_settings.h"

#include <atomic>
#include <mutex>
#include <string>

namespace velnet {

class TMervoComSocket;

class TWaitComThread : public TWaitPortThread {
public:
    explicit TWaitComThread(TMervoComSocket* port);

protected:
    void Execute() override;
};

class TMervoComSocket : public TUDPAbstractSocket {
public:
    // No single part of a frame, written or read, may take longer than this.
    static constexpr uint32_t kPartLimitMs = 1000;
    static constexpr uint32_t kTotalTimeoutMultiplierMs = 200;
    static constexpr uint32_t kTotalTimeoutConstantMs = 200;

    // Opens the port named in the 32-byte settings block; EUDPSocketError on failure. While
    // groupFlag is nonzero, frames to groupAddr are accepted as well as those to localAddr.
    TMervoComSocket(uint32_t localAddr, const void* settings, uint32_t groupFlag, uint32_t groupAddr,
                    uint32_t settingsSize = kComSettingsBlockBytes);
    ~TMervoComSocket() override;

    std::string PortName;
    COMMCONFIG Config = MakeCommConfig(DCB{});
    std::atomic<uint32_t> AnswerTime{0};
    const uint32_t GroupFlag;
    const uint32_t GroupAddr;
    // The source address of outgoing frames: the address to which the last accepted frame was
    // sent (the receive thread sets it, senders read it).
    std::atomic<uint32_t> ReplyFrom;

    void CreateHandle(const void* params, uint32_t size) override;
    void SetParams(const void* params, uint32_t size) override;
    void StopThread() override;
    void ClosePort() override;
    int Setup() override;
    int Bind() override { return 0; }
    int CreateMsgBuf() override;
    void CreateReader() override;
    std::string CreateErrorText() override;
    std::string SetupErrorText() override;
    std::string MsgBufErrorText() override;
    std::string BindErrorText() override;
    uint32_t AnswerTimeout() override { return AnswerTime.load(); }
    int SendTo(uint32_t addr, uint32_t port, uint32_t length, const void* data) override;
    // The user edits the line settings; accepted ones are applied to the open port and kept in
    // Config. Settings the port refuses raise EUDPSocketError, and the port keeps its old ones.
    bool SetupDialog(void* parentWindow) override;
    void GetConfig(const void** config, uint32_t* size) override;
    bool IsMyAddress(uint32_t address) override;
    // The far end of a serial line needs a moment to turn from sending to listening: every received
    // frame waits this long before the engine handles it, so that no answer of ours ever follows a
    // frame immediately on the line.
    std::chrono::milliseconds ReceivePause() const override { return kTurnaroundPause; }
    static constexpr std::chrono::milliseconds kTurnaroundPause{10};

    // The time limits that Setup applied.
    COMMTIMEOUTS Timeouts() const;

    // For the receive thread.
    // Reads and clears the error state (LineErrorFlag bits) and the number of bytes waiting.
    bool TakeErrorState(uint32_t& errors, uint32_t& bytesWaiting);
    enum class WaitResult { Input, LineFailure, Stopped };
    // Waits without limit for received bytes, a failure of the line, or the stop signal.
    WaitResult WaitForInput();
    // Waits up to timeoutMs for the stop signal; true when it came.
    bool WaitForStop(int timeoutMs);
    // The descriptor that becomes readable, for good, once the port is told to stop: every wait of
    // the receive thread watches it beside the device, so one signal ends them all at once.
    int StopSignal() const { return m_stopSignal; }

private:
    // Writes all count bytes within the part's time limit.
    bool WritePart(const uint8_t* data, uint32_t count, const COMMTIMEOUTS& timeouts);

    int m_stopSignal = -1;
    // errno of the failed step of opening, for its text.
    int m_lastError = 0;

    mutable std::mutex m_timeoutsLock;
    COMMTIMEOUTS m_timeouts{};

    // The error state is read and cleared by the receive thread and by a failed write.
    std::mutex m_errorLock;
    uint32_t m_pendingErrors = 0;
    LineErrorCounters m_counters;
    bool m_haveCounters = false;
};

// Time limit for one read or write of count bytes under the given totals, at most kPartLimitMs.
int ComPartLimitMs(uint32_t multiplierMs, uint32_t constantMs, uint32_t count);

} // namespace velnet
