#include "app/fileops/panel_refresh.h"

#include "app/fileops/fileops_texts.h"

namespace zarno {

bool RereadDevicePanel(PanelHost& host, Prompts& prompts, int panel) {
    if (host.EnterDeviceDirectory(panel, QString()) == 1)
        return true;
    Tell(prompts, kTextDeviceListingFailed, PromptIcon::Stop);
    return false;
}

void RereadDevicePanels(PanelHost& host, Prompts& prompts, int panel) {
    const int other = OtherPanel(panel);
    if (RereadDevicePanel(host, prompts, panel) && ShowsDevice(host, other) && SamePath(host, panel, other))
        RereadDevicePanel(host, prompts, other);
}

void RefillComputerPanels(PanelHost& host, int panel, bool sameDirectoryOnly) {
    const int other = OtherPanel(panel);
    if (!ShowsDevice(host, other) && (!sameDirectoryOnly || SamePath(host, panel, other)))
        host.RefillComputerPanel(other);
    host.RefillComputerPanel(panel);
}

} // namespace zarno
