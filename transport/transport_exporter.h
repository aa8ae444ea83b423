#pragma once
// What stands behind a transport handle: the exporter (the host's four callbacks and its
// synchronised procedure), the transport's owner TUDPDebugWin (engine, remote address and port,
// clients), and the client registry with its dispatch of engine notifications. What the diagnostics
// window shows lives in its log (transport/debug_log.h); the widgets themselves in
// transport/debug_window.h.

#include "transport/debug_log.h"
#include "transport/debug_window.h"
#include "transport/udp_transport.h"
#include "transport/velnet.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace velnet {

class TTransportExporter;

class TClientDescription {
public:
    uint32_t Id = 0;
    uint32_t Lo = 0;
    uint32_t Hi = 0;
    // The client's notifications, all bound to the exporter's forwarding operations.
    TTransportExporter* Exporter = nullptr;
};

class TUDPDebugWin {
public:
    static constexpr uint32_t kInitialRemotePort = 6768;

    // Creates the engine (for UDP after starting the socket layer) and starts it. When the port
    // cannot be opened the user is told why and the window lives on without an engine.
    TUDPDebugWin(TTransportExporter* exporter, uint32_t kind, uint32_t localAddr, uint32_t groupFlag,
                 uint32_t groupAddr, const void* settings);
    ~TUDPDebugWin();
    TUDPDebugWin(const TUDPDebugWin&) = delete;
    TUDPDebugWin& operator=(const TUDPDebugWin&) = delete;

    TUDPTransport* Transport() const { return m_transport.get(); }
    bool IsSerial() const { return m_serial; }

    std::string PortName() const;

    void SetRemoteAddr(uint32_t addr);
    uint32_t RemoteAddr() const { return m_remoteAddr.load(); }
    void SetRemoteAddrText(const char* text);
    std::string RemoteAddrText() const;
    void SetRemotePort(uint32_t port);
    uint32_t RemotePort() const { return m_remotePort.load(); }

    // Client registry.
    void AddClient(uint32_t id, uint32_t code1, uint32_t code2);
    void RemoveClient(uint32_t id);
    bool SelectClient(uint32_t id);
    void DeselectClient(uint32_t id);
    uint32_t ClientCount() const;

    bool SendMessage(uint32_t waitCount, uint32_t code, uint32_t answerWanted, uint32_t length,
                     const void* data);
    bool SendAnswer(uint32_t id, uint32_t length, const void* data);
    void Cancel();

    // The window: false when there is no window to show (no GUI application in the process).
    bool SetParent(void* parent) { return m_window.SetParent(parent); }
    void SetBounds(const WindowBounds& bounds) { m_window.SetBounds(bounds); }
    bool Show(bool visible) { return m_window.Show(visible); }

    // The serial port's settings dialog over the given parent window; the error text when the port
    // refused the new settings (it keeps its old ones then), else empty.
    std::string PortSetupDialog(void* parent);
    bool CanSetupPort() const { return m_transport && m_transport->Port()->CanSetup; }

    TDebugLog& Log() { return m_log; }

    std::atomic<bool> NotifyBeforeSend{true};
    std::atomic<bool> TestArrayRunning{false};

private:
    static void OnEngineAnswer(void* self, TThread* sender, TTransportMessage* record, uint32_t size);
    static void OnEngineMessage(void* self, TThread* sender, int32_t noAnswer, TTransportMessage* record,
                                uint32_t size);
    static void OnEngineDelivered(void* self, TUDPTransport* engine, TTransportMessage* record,
                                  uint32_t size);
    static void OnEngineBeforeSend(void* self, TUDPTransport* engine);
    static void OnEngineSent(void* self, const TTransportMessage* record);
    static void OnEngineReceived(void* self, const TTransportMessage* record);
    void ClientsChanged();
    void RemoteChanged();

    TTransportExporter* const m_exporter;
    const bool m_serial;
    bool m_startedSockets = false;
    std::unique_ptr<TUDPTransport> m_transport;
    std::atomic<uint32_t> m_remoteAddr{0};
    std::atomic<uint32_t> m_remotePort{kInitialRemotePort};

    mutable std::mutex m_stateLock; // the address box's text
    std::string m_remoteAddrText;

    // Recursive: a callback dispatched under it may register or remove clients.
    mutable std::recursive_mutex m_clientsLock;
    std::vector<std::unique_ptr<TClientDescription>> m_clients;
    TClientDescription* m_selected = nullptr;

    TDebugLog m_log;
    // Last: the window goes first, while everything it shows is still there.
    DebugWindowHost m_window;
};

class TTransportExporter {
public:
    TTransportExporter(uint32_t kind, uint32_t localAddr, uint32_t groupFlag, uint32_t groupAddr,
                       const void* settings);
    TUDPDebugWin* Window() const { return m_window.get(); }

    void SetCallbacks(VelnetMessageCallback message, VelnetAnswerCallback answer,
                      VelnetDeliveredCallback delivered, VelnetBeforeSendCallback beforeSend);

    // The forwarding operations: each calls the host callback of its name when it is set.
    void ForwardMessage(void* sender, int32_t noAnswer, TTransportMessage* record, uint32_t size) const;
    void ForwardAnswer(void* sender, TTransportMessage* record, uint32_t size) const;
    void ForwardDelivered(void* engine, TTransportMessage* record, uint32_t size) const;
    void ForwardBeforeSend(void* engine) const;
    void ForwardSync() const;

    std::atomic<VelnetSyncProcedure> SyncProc{nullptr};

private:
    std::atomic<VelnetMessageCallback> CbMessage{nullptr};
    std::atomic<VelnetAnswerCallback> CbAnswer{nullptr};
    std::atomic<VelnetDeliveredCallback> CbDelivered{nullptr};
    std::atomic<VelnetBeforeSendCallback> CbBeforeSend{nullptr};
    std::unique_ptr<TUDPDebugWin> m_window;
};

} // namespace velnet
