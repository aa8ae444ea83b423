// The link side of the instrument: its settings, connect and disconnect.

#include "app/i18n/texts.h"
#include "app/remotedisk/remote_device.h"

#include "app/link/com_ports.h"
#include "app/link/serial_settings_block.h"
#include "app/shell/persistent_settings.h"

#include <cstring>

namespace zarno {

namespace {
const char* const kErrorCaption = "Error";
constexpr uint32_t kGroupAddress = 0xFFFF;

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
    m_prompts.message(Translated(text), Translated(caption), icon);
}

void CRemoteDevice::LoadLinkSettings(const PersistentSettings& s) {
    m_settings = LinkSettings::FromSaved(s);

    m_bCom1Present = ComPortPresent("COM1");
    m_bCom2Present = ComPortPresent("COM2");
    if (!m_bCom1Present && !m_bCom2Present)
        Message(QT_TRANSLATE_NOOP("zarno", "Нет доступных COM - портов!"), kAppCaption, PromptIcon::Warning);
    m_bNetPresent = true;

    const int32_t type = m_settings.linkType;
    const bool usable = (type == kLinkCom1 && m_bCom1Present) || (type == kLinkCom2 && m_bCom2Present) ||
                        (type == kLinkNetwork && m_bNetPresent);
    if (!usable)
        m_settings.linkType = kLinkNone;
}

void CRemoteDevice::StoreLinkSettings(PersistentSettings& s) const {
    m_settings.Save(s);
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
    m_settings.linkType = linkType;
    m_bConnected = false;
    if (!m_link.LoadTransport())
        return FailConnect(QT_TRANSLATE_NOOP("zarno", "Невозможно загрузить транспортную библиотеку!"), kAppCaption, PromptIcon::Stop,
                           false);
    m_bLoaded = true;
    m_link.ResetEvents();
    if (linkType != kLinkCom1 && linkType != kLinkCom2)
        return FailConnect(QT_TRANSLATE_NOOP("zarno", "Невозможно подсоединить COM порт!"), kAppCaption, PromptIcon::Stop, true);
    // With line address 0 the library would register no client, and no exchange could ever end.
    const uint32_t lineAddr = m_settings.remoteLineAddr;
    if (lineAddr == 0)
        return FailConnect(QT_TRANSLATE_NOOP("zarno", "Номер удаленного устройства не может быть равен 0!"), kAppCaption,
                           PromptIcon::Stop, true);

    const VelnetApi& api = m_link.Api();
    const auto block = SerialSettingsBlock(linkType == kLinkCom1 ? "COM1" : "COM2", m_settings.comSpeed);
    if (!m_link.OpenTransport(kVelnetKindSerial, m_settings.localLineAddr, kGroupAddress, block.data(),
                              uint32_t(block.size())))
        return FailConnect(QT_TRANSLATE_NOOP("zarno", "Невозможно создать транспорт"), kErrorCaption, PromptIcon::Stop, true);
    const uint32_t transport = m_link.Handle();
    if (!api.ConnectClient(transport, lineAddr, &CTransportLink::OnLinkMessage,
                           &CTransportLink::OnLinkAnswer, &CTransportLink::OnLinkDelivered,
                           &CTransportLink::OnLinkBeforeSend, 0, 0xFFFF))
        return FailConnect(QT_TRANSLATE_NOOP("zarno", "Невозможно присоединить клиента"), kErrorCaption, PromptIcon::Stop, false);
    uint32_t ok = 0;
    if (!api.SelectClient(transport, lineAddr, &ok) || ok == 0)
        return FailConnect(QT_TRANSLATE_NOOP("zarno", "Невозможно выбрать клиента"), kErrorCaption, PromptIcon::Stop, false);
    if (!api.SetTransportRemotePort(transport, lineAddr))
        return FailConnect(QT_TRANSLATE_NOOP("zarno", "Невозможно настроить порт"), kErrorCaption, PromptIcon::Stop, false);
    m_bConnected = true;
    return 1;
}

int CRemoteDevice::ConnectNetwork() {
    m_walk.Forget(); // a new link: where the instrument stands is not known
    m_settings.linkType = kLinkNetwork;
    m_bConnected = false;
    if (!m_link.LoadTransport())
        return FailConnect(QT_TRANSLATE_NOOP("zarno", "Невозможно загрузить транспортную библиотеку"), QT_TRANSLATE_NOOP("zarno", "Ошибка"), PromptIcon::Stop, false);
    m_bLoaded = true;
    m_link.ResetEvents();
    const VelnetApi& api = m_link.Api();
    if (api.InitWinSockets() != 0)
        return FailConnect(QT_TRANSLATE_NOOP("zarno", "Невозможно инициализировать систему сокетов "), kErrorCaption, PromptIcon::Stop,
                           false);
    if (!m_link.OpenTransport(kVelnetKindUdp, m_settings.localPort, kGroupAddress, nullptr, 0))
        return FailConnect(QT_TRANSLATE_NOOP("zarno", "Невозможно создать транспорт"), kErrorCaption, PromptIcon::Stop, false);
    const uint32_t transport = m_link.Handle();
    // The client id is this object's address, as a non-zero 32-bit value.
    uint32_t clientId = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(this));
    if (clientId == 0)
        clientId = 1;
    if (!api.ConnectClient(transport, clientId, &CTransportLink::OnLinkMessage, &CTransportLink::OnLinkAnswer,
                           &CTransportLink::OnLinkDelivered, &CTransportLink::OnLinkBeforeSend, 0, 0xFFFF))
        return FailConnect(QT_TRANSLATE_NOOP("zarno", "Невозможно присоединить клиента"), kErrorCaption, PromptIcon::Stop, false);
    uint32_t ok = 0;
    if (!api.SelectClient(transport, clientId, &ok) || ok == 0)
        return FailConnect(QT_TRANSLATE_NOOP("zarno", "Невозможно выбрать клиента"), kErrorCaption, PromptIcon::Stop, false);
    if (!api.SetTransportRemoteAddr(transport, m_settings.RemoteIPNet()))
        return FailConnect(QT_TRANSLATE_NOOP("zarno", "Невозможно настроить IP-адрес"), kErrorCaption, PromptIcon::Stop, false);
    if (!api.SetTransportRemotePort(transport, m_settings.remotePort))
        return FailConnect(QT_TRANSLATE_NOOP("zarno", "Невозможно настроить порт"), kErrorCaption, PromptIcon::Stop, false);
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
