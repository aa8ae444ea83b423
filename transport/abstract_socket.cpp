#include "transport/abstract_socket.h"

#include "transport/localisation.h"

#include <arpa/inet.h>
#include <cstring>

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

uint16_t PortFieldFromValue(uint32_t value) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>((value >> 8) & 0xFF)};
    uint16_t field;
    std::memcpy(&field, bytes, sizeof field);
    return field;
}

uint32_t PortValueFromField(uint16_t field) {
    uint8_t bytes[2];
    std::memcpy(bytes, &field, sizeof bytes);
    return uint32_t{bytes[0]} | (uint32_t{bytes[1]} << 8);
}

uint16_t WirePortFromValue(uint32_t value) { return ntohs(PortFieldFromValue(value)); }

uint32_t ValueFromWirePort(uint16_t wirePort) { return PortValueFromField(htons(wirePort)); }

} // namespace velnet
