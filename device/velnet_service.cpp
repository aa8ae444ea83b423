#include "device/velnet_service.h"

#include "app/link/serial_settings_block.h"

#include "app/remotedisk/disk_protocol.h"
#include "app/remotedisk/wire_fields.h"
#include "transport/message.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>
#include <unistd.h>

namespace zarno::device {
using namespace wire;
namespace {

constexpr uint32_t kClientId = 1;
constexpr auto kRepeatWindow = std::chrono::seconds(2);

// The library's callbacks carry no context; one service per process receives them.
std::atomic<VelnetService*> g_service{nullptr};

} // namespace

VelnetService::VelnetService(VelnetApi& api, DiskServer& disk, Misbehaviour& misbehaviour, uint32_t delayMs,
                             bool verbose)
    : m_api(api), m_disk(disk), m_misbehaviour(misbehaviour), m_delayMs(delayMs), m_verbose(verbose) {}

VelnetService::~VelnetService() {
    if (m_handle) {
        m_api.CancelTransport(m_handle);
        m_api.DestroyTransport(m_handle);
    }
    g_service = nullptr;
}

bool VelnetService::OpenUdp(uint32_t portValue, std::string* error) {
    if (m_api.InitWinSockets() != 0) {
        *error = "the socket layer did not start";
        return false;
    }
    m_handle = m_api.CreateTransport(kVelnetKindUdp, portValue, 0, 0, nullptr, 0);
    return Connect(error);
}

bool VelnetService::OpenSerial(const std::string& comName, uint32_t lineAddr, uint32_t speed,
                               std::string* error) {
    const auto block = SerialSettingsBlock(comName, speed);
    m_handle = m_api.CreateTransport(kVelnetKindSerial, lineAddr, 0, 0, block.data(),
                                     static_cast<uint32_t>(block.size()));
    return Connect(error);
}

bool VelnetService::Connect(std::string* error) {
    if (m_handle == 0) {
        *error = "the transport could not be created";
        return false;
    }
    g_service = this;
    // Every code reaches the server, so that an unknown one gets a failure status, not silence.
    uint32_t ok = 0;
    if (!m_api.ConnectClient(m_handle, kClientId, &VelnetService::OnMessage, nullptr, nullptr, nullptr, 0,
                             0xFFFF) ||
        !m_api.SelectClient(m_handle, kClientId, &ok) || !ok) {
        *error = "the transport refused its client";
        return false;
    }
    return true;
}

void VelnetService::OnMessage(void*, int32_t noAnswer, void* record, uint32_t size) {
    VelnetService* self = g_service.load();
    if (!self || !record || size < velnet::kRecordHeadSize)
        return;
    const auto* m = static_cast<const velnet::TTransportMessage*>(record);
    Request r;
    r.addr = m->addr;
    r.port = m->port;
    r.flags = velnet::HeaderFlags(m->header);
    r.id = static_cast<uint8_t>(m->header >> 8);
    r.answerWanted = noAnswer == 0 && (r.flags & velnet::mfFullAnswer);
    // The header's length is a claim: take no more than the record holds.
    const size_t length = std::min<size_t>(
        {velnet::HeaderWords(m->header) * 2u, size - velnet::kRecordHeadSize, velnet::kMaxMessageData});
    r.data.assign(m->data, m->data + length);
    std::lock_guard lock(self->m_serveMutex);
    self->Serve(r);
}

void VelnetService::Run(const std::atomic<bool>& stop) {
    while (!stop)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

bool VelnetService::IsRepeatOfLast(const Request& r) const {
    const auto sameFlags = [](uint8_t a, uint8_t b) {
        return (a & ~velnet::mfRepeat) == (b & ~velnet::mfRepeat);
    };
    const Request& l = m_last.request;
    return m_haveLast && l.addr == r.addr && l.port == r.port && l.id == r.id &&
           sameFlags(l.flags, r.flags) && l.data == r.data &&
           std::chrono::steady_clock::now() - m_last.when < kRepeatWindow;
}

void VelnetService::Serve(const Request& r) {
    const uint16_t code = r.data.size() >= 2 ? GetU16(r.data, 0) : 0;
    const std::span<const uint8_t> payload =
        r.data.size() >= 2 ? std::span<const uint8_t>(r.data).subspan(2) : std::span<const uint8_t>{};
    if (m_delayMs)
        std::this_thread::sleep_for(std::chrono::milliseconds(m_delayMs));

    if (IsRepeatOfLast(r)) {
        if (m_verbose)
            std::fprintf(stderr, "zarno-device: code %u id %u again, answered as before\n", code, r.id);
        if (m_last.answered)
            Answer(r, m_last.answer);
        return;
    }
    m_last = {r, {}, false, std::chrono::steady_clock::now()};
    m_haveLast = true;

    if (m_misbehaviour.TakeSilence(code)) {
        if (m_verbose)
            std::fprintf(stderr, "zarno-device: code %u id %u left unanswered on purpose\n", code, r.id);
        return;
    }
    std::vector<uint8_t> answer;
    if (const auto status = m_misbehaviour.TakeFailure(code)) {
        AppendU16(answer, *status);
        if (code == kCodeWriteBlock && *status == kStatusWrongBlock) {
            // The block not taken is the one expected next.
            const uint32_t handle = payload.size() >= 4 ? GetU32(payload, 0) : 0;
            const uint32_t sent = payload.size() >= 8 ? GetU32(payload, 4) : 0;
            AppendU32(answer, m_disk.ExpectedBlock(handle).value_or(sent));
        }
    } else {
        answer = m_disk.Handle(code, payload);
        m_misbehaviour.Distort(code, answer);
    }
    if (m_verbose)
        std::fprintf(stderr,
                     "zarno-device: code %u id %u, %zu payload bytes -> status %u, %zu bytes%s (%s)\n", code,
                     r.id, payload.size(), GetU16(answer, 0), answer.size(),
                     r.answerWanted ? "" : ", not sent", m_disk.CurrentPath().c_str());
    m_last.answer = answer;
    if (r.answerWanted) {
        Answer(r, answer);
        m_last.answered = true;
    }
    if (m_misbehaviour.TakeDeath(code)) {
        // As an instrument that loses its power: no word, no clean-up, no more answers of any kind.
        std::fflush(stderr);
        _exit(0);
    }
}

void VelnetService::Answer(const Request& r, const std::vector<uint8_t>& answer) {
    // The library sends answers to the transport's remote address and port: aim them at the sender.
    m_api.SetTransportRemoteAddr(m_handle, r.addr);
    m_api.SetTransportRemotePort(m_handle, r.port);
    uint32_t ok = 0;
    m_api.SendAnswer(m_handle, r.id, static_cast<uint32_t>(answer.size()), answer.data(), &ok);
    if (!ok)
        std::fprintf(stderr, "zarno-device: the answer to code %u id %u could not be sent\n",
                     r.data.size() >= 2 ? GetU16(r.data, 0) : 0, r.id);
}

} // namespace zarno::device
