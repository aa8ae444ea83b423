#pragma once
// An instrument panel's moves: the instrument has one current directory for both panels, so a panel
// enters its directory through the verified walk (asking whether to retry when a step fails) and
// falls back to the computer's first drive when the user gives up.

#include "app/filemanager/drive_list.h"
#include "app/filemanager/panel_lock.h"
#include "app/filemanager/panel_set.h"
#include "app/remotedisk/remote_device.h"
#include "app/seams/prompts.h"

namespace zarno {

// The new instrument path of a panel at `path` entering `name`: ".." goes up one directory (from
// "z:\DATA" to "z:\", from "z:\A\B" to "z:\A"), "z:\" to the root, a name down one level, an empty
// name stays.
QString NextDevicePath(const QString& path, const QString& name);

class DeviceNavigation {
public:
    DeviceNavigation(PanelSet& panels, DriveList& drives, CRemoteDevice& device, Prompts& prompts,
                     PanelViews& views, PanelLocks& locks);

    // Enters an instrument directory for a panel ("z:\", "..", a name; empty: the panel's own again)
    // and lists it; 1 on success, 0 when the panel is back on the computer's first drive (the one
    // place that puts it there after a failed listing).
    int Enter(int panel, const QString& name);
    // Makes the instrument's one current directory the path of this instrument panel (the other
    // panel may have moved it) and lists it afresh, so that file names sent next belong to this
    // panel's directory and a delete finds its entry listed there; 1 on success, 0 when the walk
    // could not be verified or an exchange failed (the user has been told).
    int Sync(int panel);
    // Both instrument panels back on the computer's first drive; the disk counts as not opened.
    void LeaveDevice();

private:
    bool AskRetry();

    PanelSet& m_panels;
    DriveList& m_drives;
    CRemoteDevice& m_device;
    Prompts& m_prompts;
    PanelViews& m_views;
    PanelLocks& m_locks;
};

} // namespace zarno
