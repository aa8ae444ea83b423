#include "app/i18n/texts.h"
#include "app/link/transport_link.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>

#include <algorithm>
#include <cstring>
#include <optional>
#include <thread>

namespace zarno {

namespace {
const char* const kCaption = "Error";

// The header of a record handed to a callback, and the data bytes it really carries.
uint32_t RecordHeader(const void* record) {
    VelnetRecordHead head;
    std::memcpy(&head, record, sizeof head);
    return head.header;
}
const uint8_t* RecordData(const void* record) {
    return static_cast<const uint8_t*>(record) + kVelnetRecordDataOffset;
}

void ShowDeliveryFailure() {
    if (Prompts* p = CTransportLink::Instance().prompts())
        p->message(QCoreApplication::translate("zarno", "Ошибка доставки сообщения"), kCaption, PromptIcon::Stop);
}
void DoNothing() {}
} // namespace

CTransportLink& CTransportLink::Instance() {
    static CTransportLink link;
    return link;
}

bool CTransportLink::LoadTransport() {
    return m_api.Load();
}

bool CTransportLink::LoadTransportFrom(const std::string& path) {
    return m_api.LoadFrom(path);
}

void CTransportLink::UnloadTransport() {
    CloseTransport();
    m_api.Unload();
}

bool CTransportLink::OpenTransport(uint32_t kind, uint32_t localAddr, uint32_t groupAddr,
                                   const void* settings, uint32_t settingsSize) {
    CloseTransport();
    if (!m_api.IsLoaded())
        return false;
    m_transport.store(m_api.CreateTransport(kind, localAddr, 0, groupAddr, settings, settingsSize),
                      std::memory_order_release);
    return Handle() != 0;
}

void CTransportLink::CloseTransport() {
    const uint32_t handle = m_transport.exchange(0, std::memory_order_acq_rel);
    if (handle == 0 || !m_api.IsLoaded())
        return;
    m_api.CancelTransport(handle);
    m_api.DestroyTransport(handle);
}

void CTransportLink::AttachPrompts(Prompts& prompts) {
    std::lock_guard lock(m_promptsLock);
    m_attachedPrompts.push_back(&prompts);
}

void CTransportLink::DetachPrompts(const Prompts& prompts) {
    std::lock_guard lock(m_promptsLock);
    std::erase(m_attachedPrompts, &prompts);
}

Prompts* CTransportLink::prompts() const {
    std::lock_guard lock(m_promptsLock);
    return m_attachedPrompts.empty() ? nullptr : m_attachedPrompts.back();
}

void CTransportLink::ResetEvents() {
    m_startEvent.Clear();
    m_replyEvent.Clear();
}

void CTransportLink::ShowError(const char* text) {
    if (Prompts* p = prompts())
        p->message(Translated(text), kCaption, PromptIcon::Stop);
}

CTransportLink::~CTransportLink() {
    if (m_worker.joinable()) {
        // At exit the worker may still wait for an answer that will never come: both its waits end.
        m_stopWorker.store(true, std::memory_order_release);
        m_startEvent.Set();
        m_replyEvent.Set();
        m_worker.join();
    }
}

bool CTransportLink::StartWorker() {
    if (m_worker.joinable())
        return true;
    try {
        m_worker = std::thread([this] { WorkerLoop(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CTransportLink::WorkerLoop() {
    for (;;) {
        m_startEvent.Wait();
        if (m_stopWorker.load(std::memory_order_acquire))
            return;
        m_jobFailure = RunWorker(m_job);
        if (m_stopWorker.load(std::memory_order_acquire))
            return;
        QEventLoop* loop = m_jobLoop;
        // Done before the loop is told: once the loop has quit, SendAndWait reads the outcome and may
        // hand the next job over.
        m_doneEvent.Set();
        if (loop)
            QMetaObject::invokeMethod(loop, "quit", Qt::QueuedConnection);
    }
}

void CTransportLink::SendAndWait(const TransportRequest& request) {
    m_replySuccess.store(false, std::memory_order_release);
    if (m_inExchange || !m_api.IsLoaded()) {
        // One answer buffer, one exchange: a request made while another is pending cannot be sent.
        ShowError(QT_TRANSLATE_NOOP("zarno", "Невозможно отправить очередное сообщение"));
        return;
    }
    if (!StartWorker()) {
        ShowError(QT_TRANSLATE_NOOP("zarno", "Невозможно создать поток"));
        return;
    }
    m_inExchange = true;
    m_replyEvent.Clear();
    m_doneEvent.Clear();

    std::optional<QEventLoop> loop;
    if (QCoreApplication::instance())
        loop.emplace();
    m_job = request;
    m_jobLoop = loop ? &*loop : nullptr;
    m_jobFailure = WorkerFailure::None;
    m_exchangeStarted.store(true, std::memory_order_release);
    m_startEvent.Set();
    if (loop)
        loop->exec();
    m_doneEvent.Wait();
    m_inExchange = false;

    // The worker's failures are told here, in the user-interface thread.
    if (m_jobFailure == WorkerFailure::CannotSend)
        ShowError(QT_TRANSLATE_NOOP("zarno", "Невозможно отправить очередное сообщение"));
    else if (m_jobFailure == WorkerFailure::NotDelivered)
        ShowError(QT_TRANSLATE_NOOP("zarno", "Ошибка доставки сообщения"));
}

CTransportLink::WorkerFailure CTransportLink::RunWorker(const TransportRequest& request) {
    uint32_t ok = 0;
    const uint32_t called = m_api.WaitAndSendMessage(Handle(), kWaitCount, request.code, request.answerWanted,
                                                     request.length, request.payload, &ok);
    if (called == 0 || ok == 0)
        return WorkerFailure::CannotSend;
    // The engine reports every message within six answer time-outs, so this wait ends.
    m_replyEvent.Wait();
    return m_replySuccess.load(std::memory_order_acquire) ? WorkerFailure::None : WorkerFailure::NotDelivered;
}

uint32_t CTransportLink::DataBytes(const void* record, uint32_t size, uint32_t capacity) {
    // The header's length is a claim: never more than the record holds or the buffer takes.
    const uint32_t claimed = VelnetHeaderDataBytes(RecordHeader(record));
    const uint32_t present = size > kVelnetRecordDataOffset ? size - kVelnetRecordDataOffset : 0;
    return std::min({claimed, present, capacity});
}

void CTransportLink::OnLinkAnswer(void* sender, void* record, uint32_t size) {
    CTransportLink& link = Instance();
    const uint32_t n = DataBytes(record, size, kReplyBufferSize);
    std::memcpy(link.m_replyBuffer, RecordData(record), n);
    link.m_replyLength.store(n, std::memory_order_release);
    if (link.m_exchangeStarted.load(std::memory_order_acquire)) {
        link.m_replySuccess.store(true, std::memory_order_release);
        link.m_replyEvent.Set();
    } else {
        link.m_api.Synchronize(link.Handle(), sender, &DoNothing);
    }
}

void CTransportLink::OnLinkDelivered(void* engine, void* record, uint32_t) {
    if ((VelnetHeaderFlags(RecordHeader(record)) & kVelnetDeliveryFailed) != kVelnetDeliveryFailed)
        return; // a delivered message: its answer has already set the reply event
    CTransportLink& link = Instance();
    if (link.m_exchangeStarted.load(std::memory_order_acquire)) {
        link.m_replySuccess.store(false, std::memory_order_release);
        link.m_replyEvent.Set();
    } else {
        link.m_api.Synchronize(link.Handle(), engine, &ShowDeliveryFailure);
    }
}

void CTransportLink::OnLinkMessage(void*, int32_t, void* record, uint32_t size) {
    CTransportLink& link = Instance();
    const uint32_t header = RecordHeader(record);
    if (VelnetHeaderDataBytes(header) == 0)
        return;
    const uint16_t code = static_cast<uint16_t>(RecordData(record)[0] | (RecordData(record)[1] << 8));
    // No window takes the device's own messages yet; what the program keeps of them is their data.
    if (code == kDeviceNotifyCode) {
        const uint32_t n = DataBytes(record, size, kNotifyBufferSize);
        std::memcpy(link.m_notifyBuffer, RecordData(record), n);
        link.m_notifyLength = n >= 2 ? n - 2 : 0;
    } else if (code == kDeviceDataCode) {
        const uint32_t n = DataBytes(record, size, kReplyBufferSize);
        std::memcpy(link.m_deviceDataBuffer, RecordData(record), n);
        link.m_deviceDataLength = n >= 2 ? n - 2 : 0;
    }
}

void CTransportLink::OnLinkBeforeSend(void*) {}

} // namespace zarno
