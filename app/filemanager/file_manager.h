#pragma once
// The main window's file manager: it owns the instrument (CRemoteDevice) and puts together the two
// panels (PanelSet), the drive lists (DriveList), the instrument panels' moves (DeviceNavigation),
// the link commands (LinkCommands) and the commands on the selection (SelectionCommands); itself it
// keeps the program's life (settings in and out), the rows opened, the drive chosen and the toolbar.
// QtCore only: the windows reach it through PanelViews, the dialogs through FileDialogs, the user
// through Prompts.

#include "app/filemanager/device_navigation.h"
#include "app/filemanager/drive_list.h"
#include "app/filemanager/file_dialogs.h"
#include "app/filemanager/link_commands.h"
#include "app/filemanager/panel_host.h"
#include "app/filemanager/panel_lock.h"
#include "app/filemanager/panel_set.h"
#include "app/filemanager/panel_views.h"
#include "app/filemanager/selection_commands.h"
#include "app/remotedisk/remote_device.h"
#include "app/seams/prompts.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace zarno {

struct PersistentSettings;

class FileManager : public PanelHost {
public:
    // `drives` defaults to the real system.
    FileManager(Prompts& prompts, PanelViews& views, std::unique_ptr<DriveSource> drives = nullptr);
    ~FileManager() override;
    FileManager(const FileManager&) = delete;
    FileManager& operator=(const FileManager&) = delete;

    // The dialogs of the selection commands (set once they exist; until then the commands only check).
    void SetFileDialogs(FileDialogs* dialogs) { m_selection.SetDialogs(dialogs); }
    void SetTransportWindowShower(std::function<void()> show) {
        m_link.SetTransportWindowShower(std::move(show));
    }

    // ---- life ----
    // Creation, once the saved settings are read: the panels' saved paths, sort modes and column
    // widths, the link settings, the drive table, and a connect as command 32826 does.
    void Create(const PersistentSettings& settings);
    // A panel's first fill (its header's and list's initial update): its saved path when that is a
    // computer directory, else "/"; made current, shown in the drive list, listed.
    void InitialisePanel(int panel) { m_panels.Initialise(panel); }
    // Destruction: disconnects when connected, then writes the panels' paths, sort modes and column
    // widths (the list windows store their current widths into panel(p).columnWidths first) and the
    // link's values into the settings.
    void Destroy(PersistentSettings& settings);

    // ---- PanelHost ----
    PanelState& panel(int index) override { return m_panels.state(index); }
    int rowCount(int panel) const override { return m_panels.rowCount(panel); }
    const CFileEntry& row(int panel, int row) const override { return m_panels.row(panel, row); }
    CRemoteDevice& device() override { return m_device; }
    int EnterDeviceDirectory(int panel, const QString& name) override {
        return m_navigation.Enter(panel, name);
    }
    void RefillComputerPanel(int panel) override;

    const PanelState& panelState(int index) const { return m_panels.state(index); }
    PanelModel& model(int panel) { return m_panels.model(panel); }
    // The icon callback of both panels' models.
    void SetIconProvider(const PanelIconProvider& provider) { m_panels.SetIconProvider(provider); }

    // ---- panels ----
    // A sort item of the context menu: stores the mode and sorts this panel's rows at once.
    void SetSortMode(int panel, int32_t sortMode) { m_panels.SetSortMode(panel, sortMode); }
    // A double click on a row, or Enter (on the first selected row, else the cursor's); a row outside
    // the rows does nothing.
    void OpenItem(int panel, int row);
    // The drive list's selection changed to this row of the drive table (-1: no selection).
    void OnDriveChosen(int panel, int driveIndex);
    // The header's "\" and ".." buttons.
    void GoToRoot(int panel);
    void GoUp(int panel);
    int SyncDeviceDirectory(int panel) { return m_navigation.Sync(panel); }
    void ResetPanelToFirstDrive(int panel) { m_panels.ResetToFirstDrive(panel); }
    // The drive list's item of "/" (the table's first row).
    int FirstDriveIndex() const { return kFirstDriveItem; }

    // ---- drives and the instrument's disk ----
    void BuildDriveTable() { m_drives.Build(); }
    void RefreshDriveInfo(int index) { m_drives.Refresh(index); }
    const std::vector<DriveInfo>& Drives() const { return m_drives.Table(); }
    int ReadDeviceDiskInfo() { return m_drives.ReadDeviceDiskInfo(m_device); }
    uint16_t DeviceKind() const { return m_drives.DeviceKind(); }
    uint32_t DeviceTotal() const { return m_drives.DeviceTotal(); } // units of 1000 bytes
    uint32_t DeviceFree() const { return m_drives.DeviceFree(); }
    const QString& DeviceLabel() const { return m_drives.DeviceLabel(); }
    // Set once a panel entered the instrument after its disk information was read; cleared by
    // "Отключить транспорт".
    bool DiskOpened() const { return m_drives.DiskOpened(); }

    // ---- commands on the selection (each rebuilds the panel's selection from the list first) ----
    void CopySelection(int panel) { m_selection.Copy(panel); }
    void DeleteSelection(int panel) { m_selection.Delete(panel); }
    void MakeDirectoryInPanel(int panel) { m_selection.MakeDirectory(panel); }
    void ConvertSelection(int panel) { m_selection.Convert(panel); }
    void ShowSelectedSgy(int panel) { m_selection.ShowSgy(panel); }
    // The SEG-Y file a new signal-viewer document opens.
    const QString& SgyFileToOpen() const { return m_strSgyFile; }

    // ---- link commands ----
    int ChooseLink(int32_t linkType) { return m_link.Choose(linkType); }
    int ConnectBySavedLink() { return m_link.ConnectBySaved(); }
    void ShowTransportCommand() { m_link.ShowTransport(); }
    void DisconnectTransport() { m_link.Disconnect(); }
    bool IsConnected() const { return m_device.IsConnected(); }
    // True while an instrument exchange may be running: the panels are locked meanwhile.
    bool PanelsLocked() const { return m_locks.Locked(); }
    int32_t LinkType() const { return m_device.LinkType(); }

    // ---- toolbar (32782) ----
    void ToggleToolbar();
    bool ToolbarVisible() const { return m_bToolbarVisible; }

private:
    // Connects when needed and reads the disk information under the waiting pop-up; true on success.
    bool OpenDeviceDisk();
    // The SEG-Y file in a new signal-viewer document; the toolbar makes way for the viewer.
    void OpenSgy(const QString& path);

    Prompts& m_prompts;
    PanelViews& m_views;
    CRemoteDevice m_device;
    DriveList m_drives;
    PanelSet m_panels;
    PanelLocks m_locks;
    DeviceNavigation m_navigation;
    LinkCommands m_link;
    SelectionCommands m_selection;
    QString m_strSgyFile;
    bool m_bToolbarVisible = true;
};

} // namespace zarno
