#pragma once
// Bringing the panels up to date after a file operation changed a directory.

#include "app/filemanager/panel_host.h"

namespace zarno {

class Prompts;

inline bool ShowsDevice(PanelHost& host, int panel) {
    return IsDevicePath(host.panel(panel).path);
}

// Whether both panels show the same directory, ignoring case.
inline bool SamePath(PanelHost& host, int a, int b) {
    return host.panel(a).path.compare(host.panel(b).path, Qt::CaseInsensitive) == 0;
}

// Reads an instrument panel's directory again; false, after telling the user, when that failed.
bool RereadDevicePanel(PanelHost& host, Prompts& prompts, int panel);

// After a change in an instrument directory: this panel again and, when that worked and the other
// panel shows the same instrument directory, the other one too.
void RereadDevicePanels(PanelHost& host, Prompts& prompts, int panel);

// After a change in a computer directory: the other panel first when it shows a computer directory
// (when sameDirectoryOnly, only when it shows this very directory), then this panel.
void RefillComputerPanels(PanelHost& host, int panel, bool sameDirectoryOnly);

} // namespace zarno
