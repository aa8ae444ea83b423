// The link side of the instrument: its settings, connect and disconnect.

#include "app/remotedisk/remote_device.h"

#include "app/link/com_ports.h"
#include "app/link/serial_settings_block.h"
#include "app/shell/persistent_settings.h"

#include <cstring>

namespace zarno {

namespace {
const char* const kErrorCaption = "Error";
constexpr uint32_t kGroupAddress = 0xFFFF;

uint32_t OrDefault(int64_t value, uint32_t fallback) {
    return value == 0 ? fallback : static_cast<uint32_t>(value);
}

uint32_t ReverseBytes(uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
}
} // namespace

CRemoteDevice::CRemoteDevice(CTransportLink& link, Prompts& prompts) : m_prompts(prompts), m_link(link) {
    m_link.AttachPrompts(prompts);
}

CRemoteDevice::~CRemoteDevice() {
    if (m_bConnected || m_bLoaded)
        Disconnect();
    m_link.DetachPrompts(m_prompts);
}

void CRemoteDevice::Message(const char* text, const char* caption, PromptIcon icon) {
    m_prompts.message(QString::fromUtf8(text), QString::fromUtf8(caption), icon);
}

void CRemoteDevice::LoadLinkSettings(const PersistentSettings& s) {
    m_nRemoteLineAddr = OrDefault(s.m_nCurrentComPort2, kDefaultRemoteLineAddr);
    m_nComSpeed = OrDefault(s.m_nCurrentComSpeed, kDefaultComSpeed);
    m_nLocalPort = OrDefault(s.m_nCurrentEthernetPort1, kDefaultLocalPort);
    m_nRemotePort = OrDefault(s.m_nCurrentEthernetPort2, kDefaultRemotePort);
    m_nRemoteIP = OrDefault(s.m_nCurrentIPAddress, kDefaultRemoteIP);
    m_nLinkType = s.m_nCurrentLink;

    m_bCom1Present = ComPortPresent("COM1");
    m_bCom2Present = ComPortPresent("COM2");
    if (!m_bCom1Present && !m_bCom2Present)
        Message("Нет доступных COM - портов!", kAppCaption, PromptIcon::Warning);
    m_bNetPresent = true;

    const bool usable = (m_nLinkType == kLinkCom1 && m_bCom1Present) ||
                        (m_nLinkType == kLinkCom2 && m_bCom2Present) ||
                        (m_nLinkType == kLinkNetwork && m_bNetPresent);
    if (!usable)
        m_nLinkType = kLinkNone;
}

void CRemoteDevice::StoreLinkSettings(PersistentSettings& s) const {
    s.m_nCurrentLink = m_nLinkType;
    s.m_nCurrentComPort1 = static_cast<int32_t>(m_nLocalLineAddr);
    s.m_nCurrentComPort2 = static_cast<int32_t>(m_nRemoteLineAddr);
    s.m_nCurrentComSpeed = static_cast<int32_t>(m_nComSpeed);
    s.m_nCurrentEthernetPort1 = static_cast<int32_t>(m_nLocalPort);
    s.m_nCurrentEthernetPort2 = static_cast<int32_t>(m_nRemotePort);
    s.m_nCurrentIPAddress = m_nRemoteIP;
}

bool CRemoteDevice::FailConnect(const char* text, const char* caption, PromptIcon icon, bool unload) {
    Message(text, caption, icon);
    if (unload) {
        m_link.UnloadTransport();
        m_bLoaded = false;
    }
    return false;
}

int CRemoteDevice::ConnectCom(int32_t linkType) {
    m_walk.Forget(); // a new link: where the instrument stands is not known
    m_nLinkType = linkType;
    m_bConnected = false;
    if (!m_link.LoadTransport())
        return FailConnect("Невозможно загрузить транспортную библиотеку!", kAppCaption, PromptIcon::Stop,
                           false);
    m_bLoaded = true;
    m_link.ResetEvents();
    if (linkType != kLinkCom1 && linkType != kLinkCom2)
        return FailConnect("Невозможно подсоединить COM порт!", kAppCaption, PromptIcon::Stop, true);
    // With line address 0 the library would register no client, and no exchange could ever end.
    if (m_nRemoteLineAddr == 0)
        return FailConnect("Номер удаленного устройства не может быть равен 0!", kAppCaption,
                           PromptIcon::Stop, true);

    const VelnetApi& api = m_link.Api();
    const auto block = SerialSettingsBlock(linkType == kLinkCom1 ? "COM1" : "COM2", m_nComSpeed);
    if (!m_link.OpenTransport(kVelnetKindSerial, m_nLocalLineAddr, kGroupAddress, block.data(), 32))
        return FailConnect("Невозможно создать транспорт", kErrorCaption, PromptIcon::Stop, true);
    const uint32_t transport = m_link.Handle();
    if (!api.ConnectClient(transport, m_nRemoteLineAddr, &CTransportLink::OnLinkMessage,
                           &CTransportLink::OnLinkAnswer, &CTransportLink::OnLinkDelivered,
                           &CTransportLink::OnLinkBeforeSend, 0, 0xFFFF))
        return FailConnect("Невозможно присоединить клиента", kErrorCaption, PromptIcon::Stop, false);
    uint32_t ok = 0;
    if (!api.SelectClient(transport, m_nRemoteLineAddr, &ok) || ok == 0)
        return FailConnect("Невозможно выбрать клиента", kErrorCaption, PromptIcon::Stop, false);
    if (!api.SetTransportRemotePort(transport, m_nRemoteLineAddr))
        return FailConnect("Невозможно настроить порт", kErrorCaption, PromptIcon::Stop, false);
    m_bConnected = true;
    return 1;
}

int CRemoteDevice::ConnectNetwork() {
    m_walk.Forget(); // a new link: where the instrument stands is not known
    m_nLinkType = kLinkNetwork;
    m_bConnected = false;
    if (!m_link.LoadTransport())
        return FailConnect("Невозможно загрузить транспортную библиотеку", "Ошибка", PromptIcon::Stop, false);
    m_bLoaded = true;
    m_link.ResetEvents();
    const VelnetApi& api = m_link.Api();
    if (api.InitWinSockets() != 0)
        return FailConnect("Невозможно инициализировать систему сокетов ", kErrorCaption, PromptIcon::Stop,
                           false);
    if (!m_link.OpenTransport(kVelnetKindUdp, m_nLocalPort, kGroupAddress, nullptr, 0))
        return FailConnect("Невозможно создать транспорт", kErrorCaption, PromptIcon::Stop, false);
    const uint32_t transport = m_link.Handle();
    // The client id is this object's address, as a non-zero 32-bit value.
    uint32_t clientId = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(this));
    if (clientId == 0)
        clientId = 1;
    if (!api.ConnectClient(transport, clientId, &CTransportLink::OnLinkMessage, &CTransportLink::OnLinkAnswer,
                           &CTransportLink::OnLinkDelivered, &CTransportLink::OnLinkBeforeSend, 0, 0xFFFF))
        return FailConnect("Невозможно присоединить клиента", kErrorCaption, PromptIcon::Stop, false);
    uint32_t ok = 0;
    if (!api.SelectClient(transport, clientId, &ok) || ok == 0)
        return FailConnect("Невозможно выбрать клиента", kErrorCaption, PromptIcon::Stop, false);
    m_nRemoteIPNet = ReverseBytes(m_nRemoteIP);
    if (!api.SetTransportRemoteAddr(transport, m_nRemoteIPNet))
        return FailConnect("Невозможно настроить IP-адрес", kErrorCaption, PromptIcon::Stop, false);
    if (!api.SetTransportRemotePort(transport, m_nRemotePort))
        return FailConnect("Невозможно настроить порт", kErrorCaption, PromptIcon::Stop, false);
    m_bConnected = true;
    return 1;
}

void CRemoteDevice::Disconnect() {
    m_walk.Forget();
    if (m_bLoaded) {
        m_link.UnloadTransport(); // the transport first, then the library
        m_bLoaded = false;
    }
    m_bConnected = false;
}

} // namespace zarno
