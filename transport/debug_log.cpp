#include "transport/debug_log.h"

#include "transport/localisation.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VELNET_TSAN 1
#endif
#endif
#if !defined(VELNET_TSAN) && defined(__SANITIZE_THREAD__)
#define VELNET_TSAN 1
#endif
#ifdef VELNET_TSAN
#include <sanitizer/tsan_interface.h>
#endif

#include <QEvent>
#include <QObject>

#include <algorithm>
#include <iterator>
#include <arpa/inet.h>

namespace velnet {

namespace {

constexpr uint32_t kDumpBytes = 32;

uint16_t DataWord(const TTransportMessage& record, size_t index) {
    return static_cast<uint16_t>(record.data[2 * index] | (record.data[2 * index + 1] << 8));
}

std::string FrameCodes(const TTransportMessage& record) {
    const uint32_t words = HeaderWords(record.header);
    if (words >= 2)
        return Format("%4.4x %4.4x", DataWord(record, 0), DataWord(record, 1));
    if (words == 1)
        return Format("%4.4x", DataWord(record, 0));
    return {};
}

// Data bytes of a record that are really there: the header's length is cut to the record's room.
uint32_t RecordDataBytes(const TTransportMessage& record) {
    return std::min(RealDataLength(record.header), kMaxWireMessage);
}

} // namespace

FrameKind KindOfFrame(uint32_t header) {
    const uint8_t flags = HeaderFlags(header);
    if ((flags & mfAnswer) == 0)
        return FrameKind::Msg;
    return (flags & mfFullAnswer) ? FrameKind::AnsFull : FrameKind::AnsEmpty;
}

std::string FrameLine(const TTransportMessage& record, bool serial, const QTime* time) {
    const std::string stamp =
        time ? Format("%2.2d:%2.2d:%2.2d.%3.3d: ", time->hour(), time->minute(), time->second(), time->msec())
             : std::string();
    const unsigned flags = HeaderFlags(record.header);
    const unsigned id = (record.header >> 8) & 0xFF;
    const unsigned words = HeaderWords(record.header);
    const std::string codes = FrameCodes(record);
    if (serial)
        return Format("%s%4.4x %2.2x %2.2x %4.4x %s", stamp.c_str(), unsigned(record.port), flags, id, words,
                      codes.c_str());
    return Format("%s%8.8x %4.4x %2.2x %2.2x %4.4x %s", stamp.c_str(), unsigned(record.addr),
                  unsigned(record.port), flags, id, words, codes.c_str());
}

std::string DataDump(const uint8_t* data, uint32_t length) {
    std::string dump;
    if (!data)
        return dump;
    const uint32_t n = std::min(length, kDumpBytes);
    for (uint32_t i = 0; i < n; ++i)
        dump += Format("%2.2x.", unsigned(data[i]));
    return dump;
}

std::string DottedAddress(uint32_t networkOrder) {
    in_addr a{};
    a.s_addr = networkOrder;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &a, text, sizeof text);
    return text;
}

// ---- the state on the window's thread and the hand-over to it ----

struct TDebugLog::Item {
    enum class Type { Field, Line, Clients, Remote, ClearFields, ClearList };
    Item(Type t, int i = 0, std::string s = {}) : type(t), index(i), text(std::move(s)) {}
    Type type;
    int index; // field or list
    std::string text;
    std::vector<uint32_t> ids;
    bool haveSelected = false;
    uint32_t value = 0; // the selected id or the remote port
};

struct TDebugLog::Shared {
    std::mutex pendingLock;
    std::vector<Item> pending;
    bool drainPosted = false;

    mutable std::mutex stateLock;
    std::string fields[kMessageFieldCount];
    std::deque<std::string> lists[2];
    std::vector<uint32_t> clients;
    bool haveSelected = false;
    uint32_t selected = 0;
    std::string remoteAddr;
    uint32_t remotePort = 0;
    ViewNotify view;

    void Apply(std::vector<Item>& items, Changes& changes) {
        std::lock_guard lock(stateLock);
        for (Item& item : items) {
            switch (item.type) {
            case Item::Type::Field:
                fields[item.index] = std::move(item.text);
                changes.fields[item.index] = true;
                break;
            case Item::Type::Line: {
                auto& list = lists[item.index];
                if (list.size() > kFrameListLimit)
                    list.pop_front();
                list.push_back(item.text);
                changes.addedLines[item.index].push_back(std::move(item.text));
                break;
            }
            case Item::Type::Clients:
                clients = std::move(item.ids);
                haveSelected = item.haveSelected;
                selected = item.value;
                changes.clients = true;
                break;
            case Item::Type::Remote:
                remoteAddr = std::move(item.text);
                remotePort = item.value;
                changes.remote = true;
                break;
            case Item::Type::ClearFields:
                for (auto& field : fields)
                    field.clear();
                std::fill(std::begin(changes.fields), std::end(changes.fields), true);
                break;
            case Item::Type::ClearList:
                lists[item.index].clear();
                changes.addedLines[item.index].clear();
                changes.listCleared[item.index] = true;
                break;
            }
        }
    }

    // On the window's thread: everything handed in so far, in order, then the view.
    static void Drain(const std::shared_ptr<Shared>& self) {
        std::vector<Item> items;
        {
            std::lock_guard lock(self->pendingLock);
            items.swap(self->pending);
            self->drainPosted = false;
        }
        Changes changes;
        self->Apply(items, changes);
        ViewNotify view;
        {
            std::lock_guard lock(self->stateLock);
            view = self->view;
        }
        if (view)
            view(changes);
    }
};

TDebugLog::TDebugLog(bool serial, std::string portName)
    : m_serial(serial), m_portName(std::move(portName)), m_clock([] { return QTime::currentTime(); }),
      m_shared(std::make_shared<Shared>()) {}

TDebugLog::~TDebugLog() {
    // A drain still queued holds the shared state and finds no view.
    std::lock_guard lock(m_shared->stateLock);
    m_shared->view = nullptr;
}

namespace {
// The logs with texts waiting for the window's thread. The event that wakes that thread carries
// nothing: what it needs passes through this lock.
struct WaitingLogs {
    std::mutex lock;
    std::vector<std::weak_ptr<TDebugLog::Shared>> logs;
    bool drainPosted = false;
};
WaitingLogs& Waiting() {
    static WaitingLogs waiting;
    return waiting;
}

// Qt's event queue orders a posted event before its delivery with locks of its own, which a thread
// checker built into our code cannot see (Qt is not built with it): the event is marked as handed
// over here, so that the checker knows what the queue guarantees.
inline void HandOver([[maybe_unused]] void* event) {
#ifdef VELNET_TSAN
    __tsan_release(event);
#endif
}
inline void TakeOver([[maybe_unused]] void* event) {
#ifdef VELNET_TSAN
    __tsan_acquire(event);
#endif
}

// Lives on the application's thread and drains the waiting logs when woken.
class DrainReceiver : public QObject {
public:
    static constexpr QEvent::Type kDrain = QEvent::Type(QEvent::User + 0x7A1);
    std::function<void()> drain;

protected:
    bool event(QEvent* e) override {
        TakeOver(e);
        if (e->type() != kDrain)
            return QObject::event(e);
        drain();
        return true;
    }
};

// Made once, on first use from any thread, and moved to the application's thread.
DrainReceiver* Receiver(QCoreApplication* app, std::function<void()> drain) {
    static std::mutex lock;
    static DrainReceiver* receiver = nullptr;
    std::lock_guard guard(lock);
    if (!receiver) {
        receiver = new DrainReceiver; // kept for the life of the process, like the thread it serves
        receiver->drain = std::move(drain);
        receiver->moveToThread(app->thread());
    }
    return receiver;
}
} // namespace

void TDebugLog::DrainWaiting() {
    std::vector<std::weak_ptr<Shared>> logs;
    {
        std::lock_guard lock(Waiting().lock);
        logs.swap(Waiting().logs);
        Waiting().drainPosted = false;
    }
    for (const auto& weak : logs)
        if (const auto shared = weak.lock())
            Shared::Drain(shared);
}

// Items are queued under one lock and one drain is posted for a run of them: the order in which
// threads hand texts in is the order in which they reach the window, and a burst costs one event.
void TDebugLog::Post(Item item) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        // Without an application there is no window thread; on it, the state is changed at once,
        // after whatever was handed in before.
        {
            std::lock_guard lock(m_shared->pendingLock);
            m_shared->pending.push_back(std::move(item));
        }
        if (app)
            Shared::Drain(m_shared);
        else {
            std::vector<Item> items;
            {
                std::lock_guard lock(m_shared->pendingLock);
                items.swap(m_shared->pending);
            }
            Changes ignored;
            m_shared->Apply(items, ignored);
        }
        return;
    }
    bool wake = false;
    {
        std::lock_guard lock(m_shared->pendingLock);
        m_shared->pending.push_back(std::move(item));
        wake = !m_shared->drainPosted;
        m_shared->drainPosted = true;
    }
    if (!wake)
        return;
    bool post = false;
    {
        std::lock_guard lock(Waiting().lock);
        Waiting().logs.push_back(m_shared);
        post = !Waiting().drainPosted;
        Waiting().drainPosted = true;
    }
    if (post) {
        // The receiver is made before the hand-over, so that its making is part of what is handed over.
        DrainReceiver* receiver = Receiver(app, &DrainWaiting);
        auto* wakeUp = new QEvent(DrainReceiver::kDrain);
        HandOver(wakeUp);
        // Qt's queue has a lock of its own; this one around it is one the thread checker can see, and
        // it costs nothing here, where a burst posts once.
        static std::mutex postLock;
        std::lock_guard guard(postLock);
        QCoreApplication::postEvent(receiver, wakeUp);
    }
}

void TDebugLog::SetClock(std::function<QTime()> clock) {
    std::lock_guard lock(m_clockLock);
    m_clock = std::move(clock);
}

void TDebugLog::CheckMessagesDebug(bool on) {
    if (on && std::none_of(std::begin(m_fieldBox), std::end(m_fieldBox), [](const auto& b) { return b.load(); }))
        for (auto& box : m_fieldBox)
            box.store(true);
    m_messagesDebug.store(on);
    UpdateDebugActive();
}

void TDebugLog::CheckUdpDebug(bool on) {
    bool any = false;
    for (auto& list : m_filter)
        for (auto& filter : list)
            any = any || filter.load();
    if (on && !any)
        for (auto& list : m_filter)
            for (auto& filter : list)
                filter.store(true);
    m_udpDebug.store(on);
    UpdateDebugActive();
}

void TDebugLog::CheckTimeStamps(bool on) {
    m_timeStamps.store(on);
    UpdateDebugActive();
}

void TDebugLog::UpdateDebugActive() {
    if (m_debugActiveSink)
        m_debugActiveSink(m_messagesDebug.load() || m_udpDebug.load());
}

void TDebugLog::Frame(FrameList list, const TTransportMessage& record) {
    if (!m_udpDebug.load(std::memory_order_relaxed))
        return;
    if (!Filter(list, KindOfFrame(record.header)))
        return;
    std::string line;
    if (m_timeStamps.load()) {
        QTime now;
        {
            std::lock_guard lock(m_clockLock);
            now = m_clock();
        }
        line = FrameLine(record, m_serial, &now);
    } else {
        line = FrameLine(record, m_serial, nullptr);
    }
    Post(Item(Item::Type::Line, int(list), std::move(line)));
}

void TDebugLog::SetField(MessageField field, std::string text) {
    Post(Item(Item::Type::Field, field, std::move(text)));
}

void TDebugLog::MessageQueued(bool accepted, uint32_t remoteAddr, uint32_t remotePort, uint32_t code,
                              uint32_t answerWanted, uint32_t length, const void* data) {
    if (!FieldOn(kFieldOutMessages))
        return;
    if (!accepted) {
        SetField(kFieldOutMessages, Tr({"Ошибка отправки", "Send error"}));
        return;
    }
    const uint32_t bytes = data ? length : 0;
    const std::string dump = DataDump(static_cast<const uint8_t*>(data), bytes);
    if (m_serial)
        SetField(kFieldOutMessages,
                 Format(Tr({"Сообщение в %4.4x: %4.4x: %2.2x: %4.4x: %s", "Message to %4.4x: %4.4x: %2.2x: %4.4x: %s"}),
                        remotePort, code, answerWanted, bytes, dump.c_str()));
    else
        SetField(kFieldOutMessages,
                 Format(Tr({"Сообщение в %s %4.4x: %4.4x: %2.2x: %4.4x: %s",
                            "Message to %s %4.4x: %4.4x: %2.2x: %4.4x: %s"}),
                        DottedAddress(remoteAddr).c_str(), remotePort, code, answerWanted, bytes, dump.c_str()));
}

void TDebugLog::AnswerSent(bool accepted, uint32_t remoteAddr, uint32_t remotePort, uint32_t id, uint32_t length,
                           const void* data) {
    if (!FieldOn(kFieldOutAnswers))
        return;
    if (!accepted) {
        SetField(kFieldOutAnswers, Tr({"Ошибка отправки", "Send error"}));
        return;
    }
    const uint32_t bytes = data ? length : 0;
    const std::string dump = DataDump(static_cast<const uint8_t*>(data), bytes);
    if (m_serial)
        SetField(kFieldOutAnswers, Format(Tr({"Квитанция в %4.4x: %2.2x: %4.4x: %s", "Answer to %4.4x: %2.2x: %4.4x: %s"}),
                                          remotePort, id, bytes, dump.c_str()));
    else
        SetField(kFieldOutAnswers,
                 Format(Tr({"Квитанция в %s %4.4x: %2.2x: %4.4x: %s", "Answer to %s %4.4x: %2.2x: %4.4x: %s"}),
                        DottedAddress(remoteAddr).c_str(), remotePort, id, bytes, dump.c_str()));
}

void TDebugLog::Incoming(MessageField field, const TTransportMessage& record) {
    if (!FieldOn(field))
        return;
    const bool answer = field == kFieldAnswers;
    const unsigned flags = HeaderFlags(record.header);
    const unsigned id = (record.header >> 8) & 0xFF;
    const uint32_t bytes = RecordDataBytes(record);
    const std::string dump = DataDump(record.data, bytes);
    if (m_serial) {
        const Text format = answer ? Text{"Квитанция от %4.4x: %2.2x: %2.2x: %4.4x: %s",
                                          "Answer from %4.4x: %2.2x: %2.2x: %4.4x: %s"}
                                   : Text{"Сообщение от %4.4x: %2.2x: %2.2x: %4.4x: %s",
                                          "Message from %4.4x: %2.2x: %2.2x: %4.4x: %s"};
        SetField(field, Format(Tr(format), unsigned(record.port), flags, id, bytes, dump.c_str()));
        return;
    }
    const Text format = answer ? Text{"Квитанция от %s %4.4x: %2.2x: %2.2x: %4.4x: %s",
                                      "Answer from %s %4.4x: %2.2x: %2.2x: %4.4x: %s"}
                               : Text{"Сообщение от %s %4.4x: %2.2x: %2.2x: %4.4x: %s",
                                      "Message from %s %4.4x: %2.2x: %2.2x: %4.4x: %s"};
    SetField(field, Format(Tr(format), DottedAddress(record.addr).c_str(), unsigned(record.port), flags, id, bytes,
                           dump.c_str()));
}

void TDebugLog::Delivered(const TTransportMessage& record) {
    if (!FieldOn(kFieldDelivery))
        return;
    const bool failed = (HeaderFlags(record.header) & 3) == 3;
    SetField(kFieldDelivery, failed ? Tr({"Ошибка доставки", "Transport error"})
                                    : Tr({"Доставка успешна", "Transport success"}));
}

void TDebugLog::ClientsChanged(std::vector<uint32_t> ids, bool haveSelected, uint32_t selected) {
    Item item(Item::Type::Clients);
    item.ids = std::move(ids);
    item.haveSelected = haveSelected;
    item.value = selected;
    Post(std::move(item));
}

void TDebugLog::RemoteChanged(std::string addrText, uint32_t port) {
    Item item(Item::Type::Remote);
    item.text = std::move(addrText);
    item.value = port;
    Post(std::move(item));
}

void TDebugLog::ClearFields() {
    Post(Item(Item::Type::ClearFields));
}

void TDebugLog::ClearList(FrameList list) {
    Post(Item(Item::Type::ClearList, int(list)));
}

void TDebugLog::SetView(ViewNotify notify) {
    std::lock_guard lock(m_shared->stateLock);
    m_shared->view = std::move(notify);
}

std::string TDebugLog::FieldText(MessageField field) const {
    std::lock_guard lock(m_shared->stateLock);
    return m_shared->fields[field];
}

std::vector<std::string> TDebugLog::Lines(FrameList list) const {
    std::lock_guard lock(m_shared->stateLock);
    const auto& lines = m_shared->lists[int(list)];
    return {lines.begin(), lines.end()};
}

std::vector<uint32_t> TDebugLog::ClientIds() const {
    std::lock_guard lock(m_shared->stateLock);
    return m_shared->clients;
}

std::string TDebugLog::SelectedText() const {
    std::lock_guard lock(m_shared->stateLock);
    return m_shared->haveSelected ? Format("%8.8x", m_shared->selected) : std::string();
}

std::string TDebugLog::RemoteAddrText() const {
    std::lock_guard lock(m_shared->stateLock);
    return m_shared->remoteAddr;
}

uint32_t TDebugLog::RemotePort() const {
    std::lock_guard lock(m_shared->stateLock);
    return m_shared->remotePort;
}

} // namespace velnet
