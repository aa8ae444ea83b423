#include "app/filemanager/link_commands.h"

#include "app/i18n/texts.h"
#include "app/link/transport_link.h"

namespace zarno {

namespace {

void ShowTransportWindowOfLibrary() {
    CTransportLink& link = CTransportLink::Instance();
    if (link.IsLoaded() && link.Api().ShowTransport)
        link.Api().ShowTransport(link.Handle(), 1);
}

} // namespace

LinkCommands::LinkCommands(CRemoteDevice& device, Prompts& prompts, DeviceNavigation& navigation)
    : m_device(device), m_prompts(prompts), m_navigation(navigation),
      m_showTransport(&ShowTransportWindowOfLibrary) {}

void LinkCommands::Message(const char* text) {
    m_prompts.message(Translated(text), QString::fromUtf8(kAppCaption), PromptIcon::None);
}

int LinkCommands::Choose(int32_t linkType) {
    if (m_device.IsConnected() && m_device.LinkType() == linkType)
        return 1;
    if (m_device.IsConnected()) {
        // Another link may reach another instrument: nothing shown of this one may stay, or a later
        // command would act on the other instrument's file of the same name.
        m_navigation.LeaveDevice();
        m_device.Disconnect();
    }
    if (IsComLink(linkType))
        return m_device.ConnectCom(linkType);
    if (linkType == kLinkNetwork)
        return m_device.ConnectNetwork();
    return 0;
}

bool LinkCommands::ConnectByLinkType() {
    const int32_t type = m_device.LinkType();
    if (IsComLink(type))
        return m_device.ConnectCom(type) == 1;
    return m_device.ConnectNetwork() == 1;
}

int LinkCommands::ConnectBySaved() {
    if (m_device.IsConnected())
        return 1;
    return ConnectByLinkType() ? 1 : 0;
}

void LinkCommands::ShowTransport() {
    if (m_device.IsConnected()) {
        m_showTransport();
        return;
    }
    if (!IsKnownLink(m_device.LinkType())) {
        Message(QT_TRANSLATE_NOOP("zarno", "Необходимо определить Внешнее Усторойство!"));
        return;
    }
    if (ConnectByLinkType())
        m_showTransport();
    else
        Message(QT_TRANSLATE_NOOP("zarno", "Необходимо определить внешнее усторойство!"));
}

void LinkCommands::Disconnect() {
    m_navigation.LeaveDevice();
    m_device.Disconnect();
}

} // namespace zarno
