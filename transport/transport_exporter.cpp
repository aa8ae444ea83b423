#include "transport/transport_exporter.h"

#include "transport/com_settings.h"
#include "transport/socket_errors.h"
#include "transport/user_alert.h"
#include "transport/winsock.h"

#include <algorithm>
#include <arpa/inet.h>

namespace velnet {

namespace {
constexpr uint32_t kMinPort = 1;
constexpr uint32_t kMaxPort = 65535;

// The name the window's port label shows: the serial port's four characters, or "UDP".
std::string PortLabel(bool serial, const void* settings) {
    if (!serial)
        return "UDP";
    ComSettings parsed;
    return ParseComSettingsBlock(settings, kComSettingsBlockBytes, parsed) ? parsed.portName : std::string();
}
} // namespace

// ---- TUDPDebugWin ----

TUDPDebugWin::TUDPDebugWin(TTransportExporter* exporter, uint32_t kind, uint32_t localAddr,
                           uint32_t groupFlag, uint32_t groupAddr, const void* settings)
    : m_exporter(exporter), m_serial(kind == kVelnetKindSerial),
      m_log(m_serial, PortLabel(m_serial, settings)), m_window(*this) {
    m_log.RemoteChanged(m_remoteAddrText, m_remotePort.load());
    if (!m_serial) {
        const int32_t started = InitWinSockets();
        m_startedSockets = started == 0;
        if (!m_startedSockets)
            ShowUserAlert(SocketErrorText(SocketOperation::Startup, started));
    }
    try {
        m_transport = TUDPTransport::Create(kind, localAddr, groupFlag, groupAddr, settings);
    } catch (const EUDPSocketError& e) {
        // The handle lives on without an engine, so that every send reports failure; the host is
        // not asked to quit over a busy port.
        ShowUserAlert(e.what());
        return;
    }
    m_transport->OnAnswer = {&TUDPDebugWin::OnEngineAnswer, this};
    m_transport->OnMessage = {&TUDPDebugWin::OnEngineMessage, this};
    m_transport->OnDelivered = {&TUDPDebugWin::OnEngineDelivered, this};
    m_transport->OnBeforeSend = {&TUDPDebugWin::OnEngineBeforeSend, this};
    m_transport->OnSent = {&TUDPDebugWin::OnEngineSent, this};
    m_transport->OnReceived = {&TUDPDebugWin::OnEngineReceived, this};
    m_log.SetDebugActiveSink([engine = m_transport.get()](bool on) { engine->DebugActive.store(on); });
    m_transport->StartEngine();
}

TUDPDebugWin::~TUDPDebugWin() {
    m_window.Close();
    m_log.SetDebugActiveSink(nullptr);
    // The engine and its port go first, so that no notification can reach a client being removed.
    if (m_transport) {
        m_transport->Stop();
        m_transport.reset();
    }
    {
        std::lock_guard lock(m_clientsLock);
        m_selected = nullptr;
        m_clients.clear();
    }
    (void)DoneWinSockets();
}

std::string TUDPDebugWin::PortName() const {
    return m_log.PortName();
}

void TUDPDebugWin::SetRemoteAddr(uint32_t addr) {
    m_remoteAddr.store(addr);
    {
        std::lock_guard lock(m_stateLock);
        m_remoteAddrText = DottedAddress(addr);
    }
    RemoteChanged();
}

void TUDPDebugWin::RemoteChanged() {
    m_log.RemoteChanged(RemoteAddrText(), RemotePort());
}

void TUDPDebugWin::SetRemoteAddrText(const char* text) {
    const std::string value = text ? text : "";
    {
        std::lock_guard lock(m_stateLock);
        if (value == m_remoteAddrText)
            return;
        m_remoteAddrText = value;
        // A text that is not a dotted address gives the broadcast address, as inet_addr does.
        in_addr a{};
        m_remoteAddr.store(inet_aton(value.c_str(), &a) ? a.s_addr : INADDR_NONE);
    }
    RemoteChanged();
}

std::string TUDPDebugWin::RemoteAddrText() const {
    std::lock_guard lock(m_stateLock);
    return m_remoteAddrText;
}

void TUDPDebugWin::SetRemotePort(uint32_t port) {
    m_remotePort.store(std::clamp(port, kMinPort, kMaxPort));
    RemoteChanged();
}

void TUDPDebugWin::AddClient(uint32_t id, uint32_t code1, uint32_t code2) {
    if (id == 0)
        return;
    std::lock_guard lock(m_clientsLock);
    for (const auto& client : m_clients)
        if (client->Id == id)
            return;
    auto client = std::make_unique<TClientDescription>();
    client->Id = id;
    client->Lo = std::min(code1, code2);
    client->Hi = std::max(code1, code2);
    client->Exporter = m_exporter;
    m_clients.push_back(std::move(client));
    ClientsChanged();
}

// Called under the clients' lock, so that the window sees the changes in the order they were made.
void TUDPDebugWin::ClientsChanged() {
    std::vector<uint32_t> ids;
    for (const auto& client : m_clients)
        ids.push_back(client->Id);
    m_log.ClientsChanged(std::move(ids), m_selected != nullptr, m_selected ? m_selected->Id : 0);
}

void TUDPDebugWin::RemoveClient(uint32_t id) {
    std::lock_guard lock(m_clientsLock);
    const auto it =
        std::find_if(m_clients.begin(), m_clients.end(), [id](const auto& c) { return c->Id == id; });
    if (it == m_clients.end())
        return;
    if (m_selected == it->get())
        m_selected = nullptr;
    m_clients.erase(it);
    ClientsChanged();
}

bool TUDPDebugWin::SelectClient(uint32_t id) {
    std::lock_guard lock(m_clientsLock);
    TClientDescription* found = nullptr;
    for (const auto& client : m_clients)
        if (client->Id == id)
            found = client.get();
    if (m_selected && m_selected != found)
        return false;
    m_selected = found;
    ClientsChanged();
    return true;
}

void TUDPDebugWin::DeselectClient(uint32_t id) {
    std::lock_guard lock(m_clientsLock);
    if (m_selected && m_selected->Id == id) {
        m_selected = nullptr;
        ClientsChanged();
    }
}

uint32_t TUDPDebugWin::ClientCount() const {
    std::lock_guard lock(m_clientsLock);
    return static_cast<uint32_t>(m_clients.size());
}

bool TUDPDebugWin::SendMessage(uint32_t waitCount, uint32_t code, uint32_t answerWanted, uint32_t length,
                               const void* data) {
    const uint32_t addr = RemoteAddr(), port = RemotePort();
    const bool queued = m_transport && m_transport->WaitIdle(waitCount) &&
                        m_transport->QueueMessage(addr, port, code, answerWanted, length, data);
    m_log.MessageQueued(queued, addr, port, code, answerWanted, length, data);
    return queued;
}

bool TUDPDebugWin::SendAnswer(uint32_t id, uint32_t length, const void* data) {
    const uint32_t addr = RemoteAddr(), port = RemotePort();
    const bool sent = m_transport && m_transport->SendAnswer(addr, port, id, length, data);
    m_log.AnswerSent(sent, addr, port, id, length, data);
    return sent;
}

std::string TUDPDebugWin::PortSetupDialog(void* parent) {
    if (!m_transport)
        return {};
    try {
        (void)m_transport->Port()->SetupDialog(parent);
    } catch (const EUDPSocketError& e) {
        return e.what();
    }
    return {};
}

void TUDPDebugWin::Cancel() {
    if (m_transport)
        m_transport->Cancel();
}

void TUDPDebugWin::OnEngineMessage(void* self, TThread* sender, int32_t noAnswer, TTransportMessage* record,
                                   uint32_t size) {
    auto* win = static_cast<TUDPDebugWin*>(self);
    win->m_log.MessageReceived(*record);
    const uint32_t code = MessageCode(*record);
    std::lock_guard lock(win->m_clientsLock);
    // Indexes, not iterators: a callback may change the list while it is being walked.
    for (size_t i = 0; i < win->m_clients.size(); ++i) {
        const TClientDescription& client = *win->m_clients[i];
        if (client.Lo <= code && code <= client.Hi)
            client.Exporter->ForwardMessage(sender, noAnswer, record, size);
    }
}

// The selected client is used under the clients' lock: another thread may remove it meanwhile.
void TUDPDebugWin::OnEngineAnswer(void* self, TThread* sender, TTransportMessage* record, uint32_t size) {
    auto* win = static_cast<TUDPDebugWin*>(self);
    win->m_log.AnswerReceived(*record);
    std::lock_guard lock(win->m_clientsLock);
    if (win->m_selected)
        win->m_selected->Exporter->ForwardAnswer(sender, record, size);
}

void TUDPDebugWin::OnEngineDelivered(void* self, TUDPTransport* engine, TTransportMessage* record,
                                     uint32_t size) {
    auto* win = static_cast<TUDPDebugWin*>(self);
    win->m_log.Delivered(*record);
    std::lock_guard lock(win->m_clientsLock);
    if (win->m_selected)
        win->m_selected->Exporter->ForwardDelivered(engine, record, size);
}

void TUDPDebugWin::OnEngineBeforeSend(void* self, TUDPTransport* engine) {
    auto* win = static_cast<TUDPDebugWin*>(self);
    {
        std::lock_guard lock(win->m_clientsLock);
        if (win->NotifyBeforeSend.load() && win->m_selected)
            win->m_selected->Exporter->ForwardBeforeSend(engine);
    }
    win->NotifyBeforeSend.store(true);
}

void TUDPDebugWin::OnEngineSent(void* self, const TTransportMessage* record) {
    static_cast<TUDPDebugWin*>(self)->m_log.FrameSent(*record);
}

void TUDPDebugWin::OnEngineReceived(void* self, const TTransportMessage* record) {
    static_cast<TUDPDebugWin*>(self)->m_log.FrameReceived(*record);
}

// ---- TTransportExporter ----

TTransportExporter::TTransportExporter(uint32_t kind, uint32_t localAddr, uint32_t groupFlag,
                                       uint32_t groupAddr, const void* settings)
    : m_window(std::make_unique<TUDPDebugWin>(this, kind, localAddr, groupFlag, groupAddr, settings)) {}

void TTransportExporter::SetCallbacks(VelnetMessageCallback message, VelnetAnswerCallback answer,
                                      VelnetDeliveredCallback delivered,
                                      VelnetBeforeSendCallback beforeSend) {
    CbMessage.store(message);
    CbAnswer.store(answer);
    CbDelivered.store(delivered);
    CbBeforeSend.store(beforeSend);
}

void TTransportExporter::ForwardMessage(void* sender, int32_t noAnswer, TTransportMessage* record,
                                        uint32_t size) const {
    if (auto cb = CbMessage.load())
        cb(sender, noAnswer, record, size);
}

void TTransportExporter::ForwardAnswer(void* sender, TTransportMessage* record, uint32_t size) const {
    if (auto cb = CbAnswer.load())
        cb(sender, record, size);
}

void TTransportExporter::ForwardDelivered(void* engine, TTransportMessage* record, uint32_t size) const {
    if (auto cb = CbDelivered.load())
        cb(engine, record, size);
}

void TTransportExporter::ForwardBeforeSend(void* engine) const {
    if (auto cb = CbBeforeSend.load())
        cb(engine);
}

void TTransportExporter::ForwardSync() const {
    if (auto proc = SyncProc.load())
        proc();
}

} // namespace velnet
