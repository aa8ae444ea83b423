#include "transport/udp_socket.h"

#include "transport/socket_errors.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velnet {

TWaitUDPThread::TWaitUDPThread(TUDPIPSocket* port) : TWaitPortThread(port) {}

void TWaitUDPThread::Execute() {
    auto* socket = static_cast<TUDPIPSocket*>(Port);
    while (!Terminated()) {
        if (!socket->WaitReadable())
            continue;
        sockaddr_in from{};
        socklen_t fromLen = sizeof from;
        const ssize_t n = recvfrom(socket->Handle, socket->Buf.data(), socket->BufSize, MSG_DONTWAIT,
                                   reinterpret_cast<sockaddr*>(&from), &fromLen);
        if (n < 0)
            continue; // receive errors are not reported; the thread tries again
        if (Terminated())
            break;
        socket->DeliverReceived(this, from.sin_addr.s_addr, PortValueFromField(from.sin_port),
                                socket->Buf.data(), static_cast<uint32_t>(n));
    }
}

TUDPIPSocket::TUDPIPSocket(uint32_t localPort) {
    m_wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    try {
        Open(localPort, nullptr, 0);
    } catch (...) {
        if (m_wake >= 0)
            ::close(m_wake);
        throw;
    }
}

TUDPIPSocket::~TUDPIPSocket() {
    Close();
    if (m_wake >= 0)
        ::close(m_wake);
}

void TUDPIPSocket::CreateHandle(const void*, uint32_t) {
    IsIP = true;
    Handle = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (Handle < 0) {
        RecordErrno();
        m_lastError = LastSocketError();
        Handle = -1;
    } else if (m_wake < 0) {
        // Without its wake-up the receive thread could never be stopped: refuse the port.
        ::close(Handle);
        Handle = -1;
        m_lastError = 10055;
    }
}

void TUDPIPSocket::SetParams(const void*, uint32_t) {}

void TUDPIPSocket::StopThread() {
    TUDPAbstractSocket::StopThread();
    if (m_wake >= 0) {
        const uint64_t one = 1;
        (void)!::write(m_wake, &one, sizeof one);
    }
}

void TUDPIPSocket::ClosePort() {
    if (Handle >= 0)
        ::close(Handle);
    Handle = -1;
}

int TUDPIPSocket::Setup() {
    const int on = 1;
    const int size = kSocketBufferBytes;
    const struct {
        int level, name;
        const int* value;
    } options[] = {
        {SOL_SOCKET, SO_BROADCAST, &on},
        {SOL_SOCKET, SO_RCVBUF, &size},
        {SOL_SOCKET, SO_SNDBUF, &size},
        {SOL_SOCKET, SO_DONTROUTE, &on},
    };
    for (const auto& option : options) {
        if (setsockopt(Handle, option.level, option.name, option.value, sizeof(int)) != 0) {
            RecordErrno();
            m_lastError = LastSocketError();
            return -1;
        }
    }
    int nonBlocking = 0;
    if (ioctl(Handle, FIONBIO, &nonBlocking) != 0) {
        RecordErrno();
        m_lastError = LastSocketError();
        return -1;
    }
    return 0;
}

int TUDPIPSocket::Bind() {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = PortFieldFromValue(LocalAddr);
    if (::bind(Handle, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        RecordErrno();
        m_lastError = LastSocketError();
        return -1;
    }
    return 0;
}

int TUDPIPSocket::CreateMsgBuf() {
    int size = 0;
    socklen_t len = sizeof size;
    if (getsockopt(Handle, SOL_SOCKET, SO_RCVBUF, &size, &len) != 0 || size <= 0) {
        RecordErrno();
        m_lastError = LastSocketError();
        return -1;
    }
    BufSize = static_cast<uint32_t>(size);
    Buf.assign(BufSize, 0);
    return 0;
}

void TUDPIPSocket::CreateReader() {
    Reader = new TWaitUDPThread(this);
}

std::string TUDPIPSocket::CreateErrorText() {
    return SocketErrorText(SocketOperation::Create, m_lastError);
}
std::string TUDPIPSocket::SetupErrorText() {
    return SocketErrorText(SocketOperation::Setup, m_lastError);
}
std::string TUDPIPSocket::MsgBufErrorText() {
    return SocketErrorText(SocketOperation::GetParameters, m_lastError);
}
std::string TUDPIPSocket::BindErrorText() {
    return SocketErrorText(SocketOperation::Bind, m_lastError);
}

int TUDPIPSocket::SendTo(uint32_t addr, uint32_t port, uint32_t length, const void* data) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = addr;
    to.sin_port = PortFieldFromValue(port);
    const ssize_t n =
        ::sendto(Handle, data, length, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    if (n < 0) {
        RecordErrno();
        return -1;
    }
    return static_cast<int>(n);
}

void TUDPIPSocket::GetConfig(const void** config, uint32_t* size) {
    *config = nullptr;
    *size = 0;
}

bool TUDPIPSocket::WaitReadable() {
    pollfd fds[2] = {{Handle, POLLIN, 0}, {m_wake, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0)
        return false;
    return (fds[1].revents & POLLIN) == 0 && (fds[0].revents & POLLIN) != 0;
}

} // namespace velnet
