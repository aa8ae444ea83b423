#pragma once
// The link menu's commands: choosing COM1, COM2 or the network, the connect by the saved link kind,
// showing the transport's window and taking the link down. A link that goes takes the instrument's
// panels with it.

#include "app/filemanager/device_navigation.h"
#include "app/remotedisk/remote_device.h"
#include "app/seams/prompts.h"

#include <functional>

namespace zarno {

inline bool IsComLink(int32_t linkType) {
    return linkType == kLinkCom1 || linkType == kLinkCom2;
}
// COM1, COM2 or the network: a kind the program can connect by.
inline bool IsKnownLink(int32_t linkType) {
    return IsComLink(linkType) || linkType == kLinkNetwork;
}

class LinkCommands {
public:
    LinkCommands(CRemoteDevice& device, Prompts& prompts, DeviceNavigation& navigation);

    // How "Показать транспорт" shows the transport's window; by default the library's ShowTransport
    // with 1 for the current transport.
    void SetTransportWindowShower(std::function<void()> show) { m_showTransport = std::move(show); }

    // COM1 (32772), COM2 (32773), "Сетевое соединение" (32775): nothing when connected by this kind,
    // a disconnect first when connected by another; 1 when connected afterwards.
    int Choose(int32_t linkType);
    // 32826: when not connected, connect by the saved link type (1 and 2 COM, anything else network).
    int ConnectBySaved();
    // Connects by the saved link type; true when connected.
    bool ConnectByLinkType();
    // "Показать транспорт".
    void ShowTransport();
    // "Отключить транспорт": device panels back to "/", the disk no longer opened, Disconnect.
    void Disconnect();

private:
    void Message(const char* text);

    CRemoteDevice& m_device;
    Prompts& m_prompts;
    DeviceNavigation& m_navigation;
    std::function<void()> m_showTransport;
};

} // namespace zarno
