#include "transport/com_socket.h"

#include "transport/com_line.h"
#include "transport/localisation.h"
#include "transport/serial_frame.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <utility>

namespace velnet {

namespace {

using Clock = std::chrono::steady_clock;

// After a failed wait the line is retried only after this pause, so that a line that keeps failing
// (a device unplugged, the far end of a pseudo-terminal closed) does not keep a processor busy.
constexpr int kRetryPauseMs = 50;

constexpr uint32_t kLineStatusErrors = kLineOverrun | kLineParity | kLineFrame | kLineBreak;

// strerror_r comes in two forms; both give the system's text for the code.
[[maybe_unused]] std::string StrErrorResult(int rc, const char* buffer) {
    return rc == 0 ? std::string(buffer) : Format("%d", errno);
}
[[maybe_unused]] std::string StrErrorResult(const char* text, const char*) {
    return text;
}

std::string SystemErrorText(int err) {
    char buffer[256] = {};
    return StrErrorResult(strerror_r(err, buffer, sizeof buffer), buffer);
}

int RemainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// The receive thread's view of the line: reads into a small buffer and serves the frame reader
// from it, each read within its time limit and ended at once by the stop signal.
class ComInput final : public SerialByteSource {
public:
    explicit ComInput(TMervoComSocket& port) : m_port(port) {}

    bool ReadExact(uint8_t* into, uint32_t count) override {
        const COMMTIMEOUTS t = m_port.Timeouts();
        const auto deadline =
            Clock::now() + std::chrono::milliseconds(ComPartLimitMs(t.ReadTotalTimeoutMultiplier,
                                                                    t.ReadTotalTimeoutConstant, count));
        uint32_t got = 0;
        while (got < count) {
            if (m_begin == m_end && !Fill(deadline))
                return false;
            const size_t take = std::min<size_t>(count - got, m_end - m_begin);
            std::memcpy(into + got, m_bytes + m_begin, take);
            m_begin += take;
            got += static_cast<uint32_t>(take);
        }
        return true;
    }

    size_t Buffered() const { return m_end - m_begin; }
    void Discard() { m_begin = m_end = 0; }

private:
    bool Fill(Clock::time_point deadline) {
        Discard();
        for (;;) {
            const ssize_t n = ::read(m_port.Handle, m_bytes, sizeof m_bytes);
            if (n > 0) {
                m_end = static_cast<size_t>(n);
                return true;
            }
            // With no byte waiting a raw line reads 0 (or EAGAIN): wait for one.
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                return false;
            const int left = RemainingMs(deadline);
            if (left == 0)
                return false;
            pollfd fds[2] = {{m_port.Handle, POLLIN, 0}, {m_port.StopSignal(), POLLIN, 0}};
            const int ready = ::poll(fds, 2, left);
            if (ready < 0 && errno != EINTR)
                return false;
            if (fds[1].revents != 0 || (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0)
                return false;
        }
    }

    TMervoComSocket& m_port;
    uint8_t m_bytes[kSerialBufferBytes];
    size_t m_begin = 0, m_end = 0;
};

// Clears the error state; an input-queue overflow also throws away what is queued.
void Recover(TMervoComSocket& port, ComInput& input) {
    uint32_t errors = 0, waiting = 0;
    (void)port.TakeErrorState(errors, waiting);
    if (errors & kLineRxOver) {
        (void)PurgeInput(port.Handle);
        input.Discard();
    }
}

} // namespace

int ComPartLimitMs(uint32_t multiplierMs, uint32_t constantMs, uint32_t count) {
    const uint64_t total = uint64_t{multiplierMs} * count + constantMs;
    if (total == 0)
        return int(TMervoComSocket::kPartLimitMs);
    return static_cast<int>(std::min<uint64_t>(total, TMervoComSocket::kPartLimitMs));
}

// ---- receive thread

TWaitComThread::TWaitComThread(TMervoComSocket* port) : TWaitPortThread(port) {}

void TWaitComThread::Execute() {
    auto& port = static_cast<TMervoComSocket&>(*Port);
    ComInput input(port);
    while (!Terminated()) {
        uint32_t errors = 0, waiting = 0;
        if (!port.TakeErrorState(errors, waiting)) {
            Recover(port, input);
            port.WaitForStop(kRetryPauseMs);
            continue;
        }
        if (waiting == 0 && input.Buffered() == 0) {
            const auto event = port.WaitForInput();
            if (event == TMervoComSocket::WaitResult::Stopped)
                break;
            if (event == TMervoComSocket::WaitResult::LineFailure) {
                Recover(port, input);
                port.WaitForStop(kRetryPauseMs);
                continue;
            }
            if (port.TakeErrorState(errors, waiting) && (errors & kLineStatusErrors) != 0) {
                Recover(port, input);
                continue;
            }
        }
        if (Terminated())
            break;

        SerialFrameHead head;
        const SerialReadResult result = ReadSerialFrame(input, port.Buf.data(), port.Buf.size(), head);
        if (Terminated())
            break;
        if (result == SerialReadResult::Recover) {
            Recover(port, input);
            continue;
        }
        if (result == SerialReadResult::BadChecksum || !port.IsMyAddress(head.destination))
            continue;
        port.DeliverReceived(this, 0, head.source, port.Buf.data(), head.length);
    }
}

// ---- port

TMervoComSocket::TMervoComSocket(uint32_t localAddr, const void* settings, uint32_t groupFlag,
                                 uint32_t groupAddr, uint32_t settingsSize)
    : GroupFlag(groupFlag), GroupAddr(groupAddr), ReplyFrom(localAddr) {
    // The group and the reply address are in place before the receive thread can see a frame.
    m_stopSignal = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    try {
        Open(localAddr, settings, settingsSize);
    } catch (...) {
        if (m_stopSignal >= 0)
            ::close(m_stopSignal);
        throw;
    }
}

TMervoComSocket::~TMervoComSocket() {
    Close();
    if (m_stopSignal >= 0)
        ::close(m_stopSignal);
}

void TMervoComSocket::SetParams(const void* params, uint32_t size) {
    CanSetup = true;
    ComSettings settings;
    if (!ParseComSettingsBlock(params, size, settings))
        return;
    PortName = settings.portName;
    Config = MakeCommConfig(settings.dcb);
}

void TMervoComSocket::CreateHandle(const void*, uint32_t) {
    if (m_stopSignal < 0) {
        // Without its stop signal the receive thread could never be ended: refuse the port.
        m_lastError = EMFILE;
        return;
    }
    const std::string path = ComDevicePath(PortName);
    if (path.empty()) {
        m_lastError = ENOENT;
        return;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_lastError = errno;
        return;
    }
    // Not shared: a second opener is refused, whether it takes the lock (every port of this
    // library does) or only opens the device (refused by the terminal's exclusive mode).
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_lastError = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return;
    }
    (void)ioctl(fd, TIOCEXCL);
    Handle = fd;
}

void TMervoComSocket::StopThread() {
    TUDPAbstractSocket::StopThread();
    if (m_stopSignal >= 0) {
        const uint64_t one = 1;
        (void)!::write(m_stopSignal, &one, sizeof one);
    }
}

void TMervoComSocket::ClosePort() {
    if (Handle >= 0) {
        // The exclusive mode belongs to the terminal, not to this descriptor: give it back, or the
        // device would stay closed to everyone while any other descriptor of it lives.
        (void)ioctl(Handle, TIOCNXCL);
        ::close(Handle);
    }
    Handle = -1;
}

int TMervoComSocket::Setup() {
    ComTimings timings{};
    if (!ComputeComTimings(Config.dcb, timings)) {
        m_lastError = EINVAL;
        return -1;
    }
    AnswerTime.store(timings.answerTimeMs);
    if (!ReadLineSettings(Handle)) {
        m_lastError = errno;
        return -1;
    }
    {
        std::lock_guard lock(m_timeoutsLock);
        m_timeouts = {timings.charIntervalMs, kTotalTimeoutMultiplierMs, kTotalTimeoutConstantMs,
                      kTotalTimeoutMultiplierMs, kTotalTimeoutConstantMs};
    }
    if (!ApplyDcb(Handle, Config.dcb)) {
        m_lastError = errno;
        return -1;
    }
    // The terminal layer's queues are larger than the 1080 bytes a frame needs and are not sized
    // by the caller, so there is nothing to set for them. Errors counted before now are not ours.
    uint32_t errors = 0, waiting = 0;
    (void)TakeErrorState(errors, waiting);
    return 0;
}

bool TMervoComSocket::SetupDialog(void* parentWindow) {
    const ComSettingsEditor edit = CurrentComSettingsEditor();
    DCB dcb = Config.dcb;
    if (!edit || !edit(parentWindow, PortName, dcb))
        return false; // cancelled: Config was never touched
    dcb.DCBlength = sizeof(DCB);
    // Under the port lock: no frame is half written while the line changes under it.
    const auto portLock = Locked();
    const COMMCONFIG saved = Config;
    Config.dcb = dcb;
    if (Setup() == 0)
        return true;
    // A port left half set up would go on with settings no one chose: the old ones come back.
    const std::string text = SetupErrorText();
    Config = saved;
    (void)Setup();
    throw EUDPSocketError(text);
}

int TMervoComSocket::CreateMsgBuf() {
    BufSize = kSerialBufferBytes;
    Buf.assign(BufSize, 0);
    return 0;
}

void TMervoComSocket::CreateReader() {
    Reader = new TWaitComThread(this);
}

std::string TMervoComSocket::CreateErrorText() {
    return Format(Tr({"Ошибка при создании порта %s", "Port create error: %s"}), PortName.c_str()) + ": " +
           SystemErrorText(m_lastError);
}

std::string TMervoComSocket::SetupErrorText() {
    return Format(Tr({"Ошибка при настройке порта %s", "Port setup error: %s"}), PortName.c_str()) + ": " +
           SystemErrorText(m_lastError);
}

std::string TMervoComSocket::MsgBufErrorText() {
    return Tr({"Функция \"CreateMsgBuf\" для COM-порта не вызывает ошибок",
               "\"CreateMsgBuf\" function can't cause error with COM"});
}

std::string TMervoComSocket::BindErrorText() {
    return Tr({"Функция \"BIND\" для COM-порта не вызывает ошибок",
               "\"BIND\" function can't cause error with COM"});
}

int TMervoComSocket::SendTo(uint32_t, uint32_t port, uint32_t length, const void* data) {
    // N is 16 bits on the line: a longer message would go out with a wrong length and break the
    // framing of everything after it.
    if (length > kSerialMaxFramable || (length != 0 && !data) || Handle < 0)
        return -1;
    const auto* bytes = static_cast<const uint8_t*>(data);
    const SerialFrameHead head{static_cast<uint16_t>(port), static_cast<uint16_t>(ReplyFrom.load()),
                               static_cast<uint16_t>(length)};
    uint8_t headBytes[kSerialHeadBytes];
    BuildSerialHead(head, headBytes);
    const uint16_t checksum = SerialChecksum(head, bytes, length);
    const uint8_t checksumBytes[kSerialChecksumBytes] = {static_cast<uint8_t>(checksum & 0xFF),
                                                         static_cast<uint8_t>(checksum >> 8)};

    const COMMTIMEOUTS timeouts = Timeouts();
    if (WritePart(headBytes, kSerialHeadBytes, timeouts) && WritePart(bytes, length, timeouts) &&
        WritePart(checksumBytes, kSerialChecksumBytes, timeouts))
        return 0;
    uint32_t errors = 0, waiting = 0;
    (void)TakeErrorState(errors, waiting);
    if (errors & kLineTxFull)
        (void)PurgeOutput(Handle);
    return -1;
}

bool TMervoComSocket::WritePart(const uint8_t* data, uint32_t count, const COMMTIMEOUTS& timeouts) {
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(ComPartLimitMs(timeouts.WriteTotalTimeoutMultiplier,
                                                                timeouts.WriteTotalTimeoutConstant, count));
    uint32_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(Handle, data + done, count - done);
        if (n > 0) {
            done += static_cast<uint32_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        const int left = RemainingMs(deadline);
        pollfd fd{Handle, POLLOUT, 0};
        if (left == 0 || ::poll(&fd, 1, left) == 0) {
            // The line did not take the bytes in time: its output queue is full.
            std::lock_guard lock(m_errorLock);
            m_pendingErrors |= kLineTxFull;
            return false;
        }
        if ((fd.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0)
            return false;
    }
    return true;
}

void TMervoComSocket::GetConfig(const void** config, uint32_t* size) {
    *config = &Config;
    *size = sizeof Config;
}

bool TMervoComSocket::IsMyAddress(uint32_t address) {
    const bool mine = address == LocalAddr || (GroupFlag != 0 && address == GroupAddr);
    ReplyFrom.store(mine ? address : LocalAddr);
    return mine;
}

COMMTIMEOUTS TMervoComSocket::Timeouts() const {
    std::lock_guard lock(m_timeoutsLock);
    return m_timeouts;
}

bool TMervoComSocket::TakeErrorState(uint32_t& errors, uint32_t& bytesWaiting) {
    std::lock_guard lock(m_errorLock);
    errors = std::exchange(m_pendingErrors, 0);
    LineErrorCounters now;
    if (ReadLineErrorCounters(Handle, now)) {
        if (m_haveCounters)
            errors |= LineErrorsBetween(m_counters, now);
        m_counters = now;
        m_haveCounters = true;
    }
    return InputQueueBytes(Handle, bytesWaiting);
}

TMervoComSocket::WaitResult TMervoComSocket::WaitForInput() {
    pollfd fds[2] = {{Handle, POLLIN, 0}, {m_stopSignal, POLLIN, 0}};
    while (::poll(fds, 2, -1) < 0) {
        if (errno != EINTR)
            return WaitResult::LineFailure;
    }
    if (fds[1].revents != 0)
        return WaitResult::Stopped;
    if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0)
        return WaitResult::LineFailure;
    return WaitResult::Input;
}

bool TMervoComSocket::WaitForStop(int timeoutMs) {
    pollfd fd{m_stopSignal, POLLIN, 0};
    return ::poll(&fd, 1, timeoutMs) > 0;
}

} // namespace velnet
