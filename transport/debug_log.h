#pragma once
// What the diagnostics window shows, kept apart from its widgets: the logging switches, the five
// message fields, the two frame lists, the clients, the remote address and port. Engine and receive
// threads hand their texts in; the texts reach the state on the window's thread (the application's
// main thread), in the order they were handed in, and the view learns of them there. While the
// switches are off an event costs one atomic load.

#include "transport/message.h"

#include <QTime>

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace velnet {

enum class FrameList { Out = 0, In = 1 }; // "Отправка" (sent), "Прием" (received)
enum class FrameKind { Msg = 0, AnsEmpty = 1, AnsFull = 2 };
enum MessageField : int {
    kFieldOutMessages = 0, // "Отправка сообщений"
    kFieldOutAnswers,      // "Отправка квитанций"
    kFieldDelivery,        // "Доставка"
    kFieldAnswers,         // "Квитанции"
    kFieldMessages,        // "Сообщения"
    kMessageFieldCount
};

// A list keeps this many lines, and one more: the line that would make it longer removes the first.
constexpr size_t kFrameListLimit = 512;

FrameKind KindOfFrame(uint32_t header);
// One line of a frame list; `time` is empty when time stamps are off.
std::string FrameLine(const TTransportMessage& record, bool serial, const QTime* time);
// The first min(length, 32) bytes as "%2.2x." each.
std::string DataDump(const uint8_t* data, uint32_t length);
std::string DottedAddress(uint32_t networkOrder);

class TDebugLog {
public:
    // What changed on the window's thread; the view refreshes the parts named.
    struct Changes {
        bool fields[kMessageFieldCount] = {};
        bool listCleared[2] = {};                // emptied before addedLines came
        std::vector<std::string> addedLines[2]; // in order, per list
        bool clients = false;
        bool remote = false;
    };
    using ViewNotify = std::function<void(const Changes&)>;

    TDebugLog(bool serial, std::string portName);
    ~TDebugLog();
    TDebugLog(const TDebugLog&) = delete;
    TDebugLog& operator=(const TDebugLog&) = delete;

    bool IsSerial() const { return m_serial; }
    const std::string& PortName() const { return m_portName; }

    // ---- switches (the window's check boxes) ----
    // Checking a "Диагностика" box when none of its boxes is checked checks them all.
    void CheckMessagesDebug(bool on);
    void CheckUdpDebug(bool on);
    void CheckTimeStamps(bool on);
    void CheckField(MessageField field, bool on) { m_fieldBox[field].store(on); }
    void CheckFilter(FrameList list, FrameKind kind, bool on) { m_filter[int(list)][int(kind)].store(on); }
    bool MessagesDebug() const { return m_messagesDebug.load(); }
    bool UdpDebug() const { return m_udpDebug.load(); }
    bool TimeStamps() const { return m_timeStamps.load(); }
    bool Field(MessageField field) const { return m_fieldBox[field].load(); }
    bool Filter(FrameList list, FrameKind kind) const { return m_filter[int(list)][int(kind)].load(); }
    // Told (DebugActive) whenever a "Диагностика" box or "Время" is clicked.
    void SetDebugActiveSink(std::function<void(bool)> sink) { m_debugActiveSink = std::move(sink); }
    // The clock of the time stamps (tests fix it).
    void SetClock(std::function<QTime()> clock);

    // ---- events, from any thread ----
    void FrameSent(const TTransportMessage& record) { Frame(FrameList::Out, record); }
    void FrameReceived(const TTransportMessage& record) { Frame(FrameList::In, record); }
    void MessageQueued(bool accepted, uint32_t remoteAddr, uint32_t remotePort, uint32_t code,
                       uint32_t answerWanted, uint32_t length, const void* data);
    void AnswerSent(bool accepted, uint32_t remoteAddr, uint32_t remotePort, uint32_t id, uint32_t length,
                    const void* data);
    void AnswerReceived(const TTransportMessage& record) { Incoming(kFieldAnswers, record); }
    void MessageReceived(const TTransportMessage& record) { Incoming(kFieldMessages, record); }
    void Delivered(const TTransportMessage& record);
    void ClientsChanged(std::vector<uint32_t> ids, bool haveSelected, uint32_t selected);
    void RemoteChanged(std::string addrText, uint32_t port);

    // ---- state, on the window's thread (or anywhere when there is no application) ----
    std::string FieldText(MessageField field) const;
    std::vector<std::string> Lines(FrameList list) const;
    std::vector<uint32_t> ClientIds() const;
    std::string SelectedText() const; // "%8.8x", or empty with nothing selected
    std::string RemoteAddrText() const;
    uint32_t RemotePort() const;
    void ClearFields();
    void ClearList(FrameList list);
    // The view to tell about changes; only on the window's thread.
    void SetView(ViewNotify notify);

    struct Shared; // the state and the texts on their way to it, shared with queued drains
    struct Item;

private:
    // On the window's thread: drains every log that has texts waiting.
    static void DrainWaiting();

    void Frame(FrameList list, const TTransportMessage& record);
    void Incoming(MessageField field, const TTransportMessage& record);
    bool FieldOn(MessageField field) const { return m_messagesDebug.load() && m_fieldBox[field].load(); }
    void SetField(MessageField field, std::string text);
    void Post(Item item);
    void UpdateDebugActive();

    const bool m_serial;
    const std::string m_portName;
    std::atomic<bool> m_messagesDebug{false};
    std::atomic<bool> m_udpDebug{false};
    std::atomic<bool> m_timeStamps{false};
    std::atomic<bool> m_fieldBox[kMessageFieldCount]{};
    std::atomic<bool> m_filter[2][3]{};
    std::function<void(bool)> m_debugActiveSink;
    mutable std::mutex m_clockLock;
    std::function<QTime()> m_clock;
    std::shared_ptr<Shared> m_shared;
};

} // namespace velnet
