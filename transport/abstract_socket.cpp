#include "transport/abstract_socket.h"

#include "transport/localisation.h"


namespace velnet {

TUDPAbstractSocket::~TUDPAbstractSocket() {
    // The concrete port's destructor has closed the port; what is left is only memory.
    delete Reader;
}

void TUDPAbstractSocket::SetOnReceive(ReceiveProc proc, void* context) {
    m_onReceiveContext.store(context, std::memory_order_relaxed);
    m_onReceive.store(proc, std::memory_order_release);
}

void TUDPAbstractSocket::DeliverReceived(TThread* sender, uint32_t addr, uint32_t port, const uint8_t* data,
                                         uint32_t count) {
    const ReceiveProc proc = m_onReceive.load(std::memory_order_acquire);
    if (proc)
        proc(m_onReceiveContext.load(std::memory_order_relaxed), sender, addr, port, data, count);
}

void TUDPAbstractSocket::StopThread() {
    if (Reader)
        Reader->Terminate();
}

int TUDPAbstractSocket::LockedSend(uint32_t addr, uint32_t port, uint32_t length, const void* data) {
    std::lock_guard lock(PortLock);
    return SendTo(addr, port, length, data);
}

void TUDPAbstractSocket::Open(uint32_t localAddr, const void* params, uint32_t size) {
    SetParams(params, size);
    CreateHandle(params, size);
    if (Handle < 0)
        Fail(CreateErrorText());
    if (Setup() == -1)
        Fail(SetupErrorText());
    if (CreateMsgBuf() == -1)
        Fail(MsgBufErrorText());
    LocalAddr = localAddr;
    if (Bind() == -1)
        Fail(BindErrorText());
    CreateReader();
    if (!Reader)
        Fail(Tr({"Ошибка создания нити чтения порта", "Can't create reader thread"}));
    Reader->SetPriority(2);
    Reader->Start();
}

void TUDPAbstractSocket::Fail(const std::string& text) {
    Close();
    throw EUDPSocketError(text);
}

void TUDPAbstractSocket::Close() {
    StopThread();
    // The reader is joined before the handle is closed, so that it never touches a descriptor
    // number that the process may already have handed out again.
    if (Reader)
        Reader->WaitFor();
    ClosePort();
    delete Reader;
    Reader = nullptr;
    Buf.clear();
    Buf.shrink_to_fit();
    BufSize = 0;
}

} // namespace velnet
