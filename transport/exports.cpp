// The 31 exported functions of libvelnet.so. A transport handle is an opaque non-zero id looked up in
// the list of live transports, never a pointer, so a stale or forged handle can do no harm.

#include "transport/localisation.h"
#include "transport/message.h"
#include "transport/thread.h"
#include "transport/transport_exporter.h"
#include "transport/velnet.h"
#include "transport/winsock.h"

#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#define VELNET_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using velnet::TTransportExporter;
using ExporterRef = std::shared_ptr<TTransportExporter>;

class HandleList {
public:
    // Transports still alive when the library is unloaded (or the process ends) are destroyed with
    // it, so that no thread of theirs outlives the library's code.
    ~HandleList() {
        std::map<uint32_t, ExporterRef> live;
        {
            std::lock_guard lock(m_lock);
            live.swap(m_live);
        }
        for (auto& [handle, exporter] : live)
            exporter->Window()->Cancel();
        live.clear();
    }

    uint32_t Add(ExporterRef exporter) {
        std::lock_guard lock(m_lock);
        do {
            ++m_next;
        } while (m_next == 0 || m_live.count(m_next));
        m_live.emplace(m_next, std::move(exporter));
        return m_next;
    }
    ExporterRef Find(uint32_t handle) {
        std::lock_guard lock(m_lock);
        const auto it = m_live.find(handle);
        return it == m_live.end() ? nullptr : it->second;
    }
    ExporterRef Take(uint32_t handle) {
        std::lock_guard lock(m_lock);
        const auto it = m_live.find(handle);
        if (it == m_live.end())
            return nullptr;
        ExporterRef taken = std::move(it->second);
        m_live.erase(it);
        return taken;
    }

private:
    std::mutex m_lock;
    std::map<uint32_t, ExporterRef> m_live;
    uint32_t m_next = 0;
};

HandleList& Handles() {
    static HandleList list;
    return list;
}

// Runs f on the handle's transport owner; 0 for a handle that is not valid.
template <class F> uint32_t WithWindow(uint32_t handle, F&& f) {
    const ExporterRef exporter = Handles().Find(handle);
    if (!exporter)
        return 0;
    f(*exporter->Window());
    return 1;
}

void SetOk(uint32_t* ok, bool value) {
    if (ok)
        *ok = value ? 1 : 0;
}

struct LanguageAtLoad {
    LanguageAtLoad() { velnet::ReloadLanguage(); }
} g_languageAtLoad;

} // namespace

VELNET_EXPORT int32_t InitWinSockets(void) {
    return velnet::InitWinSockets();
}
VELNET_EXPORT int32_t DoneWinSockets(void) {
    return velnet::DoneWinSockets();
}

VELNET_EXPORT uint32_t ExtractMessageID(uint32_t header) {
    return velnet::ExtractMessageID(header);
}
VELNET_EXPORT uint32_t BuildMessageID(uint32_t* header, uint32_t id) {
    return velnet::BuildMessageID(header, id);
}
VELNET_EXPORT void IncMessageIDDWORD(uint32_t* id) {
    velnet::IncMessageIDDWORD(id);
}
VELNET_EXPORT uint32_t IncMessageID(uint32_t* header) {
    return velnet::IncMessageID(header);
}
VELNET_EXPORT uint32_t RealDataLength(uint32_t header) {
    return velnet::RealDataLength(header);
}
VELNET_EXPORT void BuildDataLength(uint32_t* header, uint32_t length) {
    velnet::BuildDataLength(header, length);
}
VELNET_EXPORT uint32_t ClientServerBufLength(uint32_t header) {
    return velnet::ClientServerBufLength(header);
}
VELNET_EXPORT uint32_t UDPBufLength(uint32_t header) {
    return velnet::UDPBufLength(header);
}

VELNET_EXPORT uint32_t IsValidTransport(uint32_t handle) {
    return Handles().Find(handle) ? 1 : 0;
}

VELNET_EXPORT uint32_t CreateTransport(uint32_t kind, uint32_t localAddr, uint32_t groupFlag,
                                       uint32_t groupAddr, const void* settings,
                                       uint32_t /*settingsSize: not read*/) {
    try {
        auto exporter = std::make_shared<TTransportExporter>(kind, localAddr, groupFlag, groupAddr, settings);
        return Handles().Add(std::move(exporter));
    } catch (...) {
        return 0;
    }
}

VELNET_EXPORT uint32_t DestroyTransport(uint32_t handle) {
    ExporterRef exporter = Handles().Take(handle);
    if (!exporter)
        return 0;
    exporter->Window()->Cancel();
    // Other exports hold the transport only for the moment of their call; let them finish, so that
    // the engine and its threads end here and not in whichever thread lets go last.
    while (exporter.use_count() > 1)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    exporter.reset();
    return 1;
}

// Both answer 0 when there is no window to show: the process runs no GUI application.
VELNET_EXPORT uint32_t SetTransportParent(uint32_t handle, void* parent) {
    bool shown = false;
    WithWindow(handle, [&](velnet::TUDPDebugWin& w) { shown = w.SetParent(parent); });
    return shown ? 1 : 0;
}

VELNET_EXPORT uint32_t SetTransportBounds(uint32_t handle, int32_t left, int32_t top, int32_t width,
                                          int32_t height) {
    return WithWindow(handle, [&](velnet::TUDPDebugWin& w) { w.SetBounds({left, top, width, height}); });
}

VELNET_EXPORT uint32_t ShowTransport(uint32_t handle, uint32_t visible) {
    bool done = false;
    WithWindow(handle, [&](velnet::TUDPDebugWin& w) { done = w.Show((visible & 0xFF) != 0); });
    return done ? 1 : 0;
}

VELNET_EXPORT uint32_t SetTransportRemoteAddr(uint32_t handle, uint32_t addr) {
    return WithWindow(handle, [&](velnet::TUDPDebugWin& w) { w.SetRemoteAddr(addr); });
}

VELNET_EXPORT uint32_t GetTransportRemoteAddr(uint32_t handle, uint32_t* addr) {
    return WithWindow(handle, [&](velnet::TUDPDebugWin& w) {
        if (addr)
            *addr = w.RemoteAddr();
    });
}

VELNET_EXPORT uint32_t SetTransportRemoteAddrStr(uint32_t handle, const char* text) {
    return WithWindow(handle, [&](velnet::TUDPDebugWin& w) { w.SetRemoteAddrText(text); });
}

VELNET_EXPORT uint32_t GetTransportRemoteAddrStr(uint32_t handle, char* buffer, uint32_t size) {
    return WithWindow(handle, [&](velnet::TUDPDebugWin& w) {
        const std::string text = w.RemoteAddrText();
        if (buffer)
            std::memcpy(buffer, text.data(), std::min<size_t>(text.size(), size));
    });
}

VELNET_EXPORT uint32_t SetTransportRemotePort(uint32_t handle, uint32_t port) {
    return WithWindow(handle, [&](velnet::TUDPDebugWin& w) { w.SetRemotePort(port); });
}

VELNET_EXPORT uint32_t GetTransportRemotePort(uint32_t handle, uint32_t* port) {
    return WithWindow(handle, [&](velnet::TUDPDebugWin& w) {
        if (port)
            *port = w.RemotePort();
    });
}

VELNET_EXPORT uint32_t GetClientCount(uint32_t handle, uint32_t* count) {
    return WithWindow(handle, [&](velnet::TUDPDebugWin& w) {
        if (count)
            *count = w.ClientCount();
    });
}

VELNET_EXPORT uint32_t ConnectClient(uint32_t handle, uint32_t id, VelnetMessageCallback onMessage,
                                     VelnetAnswerCallback onAnswer, VelnetDeliveredCallback onDelivered,
                                     VelnetBeforeSendCallback onBeforeSend, uint32_t code1, uint32_t code2) {
    const ExporterRef exporter = Handles().Find(handle);
    if (!exporter)
        return 0;
    exporter->SetCallbacks(onMessage, onAnswer, onDelivered, onBeforeSend);
    exporter->Window()->AddClient(id, code1, code2);
    return 1;
}

VELNET_EXPORT uint32_t RemoveClient(uint32_t handle, uint32_t id) {
    return WithWindow(handle, [&](velnet::TUDPDebugWin& w) { w.RemoveClient(id); });
}

VELNET_EXPORT uint32_t SelectClient(uint32_t handle, uint32_t id, uint32_t* ok) {
    return WithWindow(handle, [&](velnet::TUDPDebugWin& w) { SetOk(ok, w.SelectClient(id)); });
}

VELNET_EXPORT uint32_t DeselectClient(uint32_t handle, uint32_t id) {
    return WithWindow(handle, [&](velnet::TUDPDebugWin& w) { w.DeselectClient(id); });
}

VELNET_EXPORT uint32_t WaitAndSendMessage(uint32_t handle, uint32_t waitCount, uint32_t code,
                                          uint32_t answerWanted, uint32_t length, const void* data,
                                          uint32_t* ok) {
    return WithWindow(handle, [&](velnet::TUDPDebugWin& w) {
        SetOk(ok, w.SendMessage(waitCount, code, answerWanted, length, data));
    });
}

VELNET_EXPORT uint32_t SendAnswer(uint32_t handle, uint32_t id, uint32_t length, const void* data,
                                  uint32_t* ok) {
    return WithWindow(handle, [&](velnet::TUDPDebugWin& w) { SetOk(ok, w.SendAnswer(id, length, data)); });
}

VELNET_EXPORT uint32_t CancelTransport(uint32_t handle) {
    return WithWindow(handle, [&](velnet::TUDPDebugWin& w) { w.Cancel(); });
}

VELNET_EXPORT void Synchronize(uint32_t handle, void* thread, VelnetSyncProcedure procedure) {
    if (!thread)
        return;
    {
        const ExporterRef exporter = Handles().Find(handle);
        if (!exporter)
            return;
        exporter->SyncProc.store(procedure);
    }
    // The transport is not held while the main thread runs the procedure: the main thread may be
    // the one that destroys it meanwhile. The thread object is only checked, never used.
    velnet::RunInMainThread([](void* p) { reinterpret_cast<VelnetSyncProcedure>(p)(); },
                            reinterpret_cast<void*>(procedure));
}
