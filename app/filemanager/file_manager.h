#pragma once
// The main window's file manager: the instrument (CRemoteDevice), the two panels' states and rows,
// the drive table, the instrument's disk information, the link commands, the navigation that keeps a
// panel and the instrument's current directory in step, and the checks of the commands on the
// selection before their dialogs open. QtCore only: the windows reach it through PanelViews, the
// dialogs through FileDialogs, the user through Prompts.
//
// A computer panel's directory is the process's current directory while the panel is refilled, so
// every refill first makes the panel's path current.

#include "app/filemanager/drive_table.h"
#include "app/filemanager/file_dialogs.h"
#include "app/filemanager/panel_host.h"
#include "app/filemanager/panel_model.h"
#include "app/filemanager/panel_views.h"
#include "app/remotedisk/remote_device.h"
#include "app/seams/prompts.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace zarno {

struct PersistentSettings;

// The new instrument path of a panel at `path` entering `name`: ".." goes up one directory (from
// "z:\DATA" to "z:\", from "z:\A\B" to "z:\A"), "z:\" to the root, a name down one level, an empty
// name stays.
QString NextDevicePath(const QString& path, const QString& name);

// The proposed target name of a single copied file: title + ".sgy" for a DDB recording (type "ddb"
// in any case), else the file name.
QString ProposedCopyName(const CFileEntry& entry);

// Results of ReadDeviceDiskInfo.
enum DiskInfoResult : int { kDiskInfoOk = 1, kDiskInfoExchangeFailed = 0, kDiskInfoStatusOne = -1 };

class FileManager : public PanelHost {
public:
    // `drives` defaults to the real system.
    FileManager(Prompts& prompts, PanelViews& views, std::unique_ptr<DriveSource> drives = nullptr);
    ~FileManager() override;
    FileManager(const FileManager&) = delete;
    FileManager& operator=(const FileManager&) = delete;

    // The dialogs of the selection commands (set once they exist; until then the commands only check).
    void SetFileDialogs(FileDialogs* dialogs) { m_dialogs = dialogs; }
    // How "Показать транспорт" shows the transport's window; by default the library's ShowTransport
    // with 1 for the current transport.
    void SetTransportWindowShower(std::function<void()> show) { m_showTransport = std::move(show); }

    // ---- life ----
    // Creation, once the saved settings are read: the panels' saved paths, sort modes and column
    // widths, the link settings, the drive table, and a connect as command 32826 does.
    void Create(const PersistentSettings& settings);
    // A panel's first fill (its header's and list's initial update): its saved path when that is a
    // computer directory, else "/"; made current, shown in the drive list, listed.
    void InitialisePanel(int panel);
    // Destruction: disconnects when connected, then writes the panels' paths, sort modes and column
    // widths (the list windows store their current widths into panel(p).columnWidths first) and the
    // link's values into the settings.
    void Destroy(PersistentSettings& settings);

    // ---- PanelHost ----
    PanelState& panel(int index) override;
    int rowCount(int panel) const override;
    const CFileEntry& row(int panel, int row) const override;
    CRemoteDevice& device() override { return m_device; }
    int EnterDeviceDirectory(int panel, const QString& name) override;
    void RefillComputerPanel(int panel) override;

    const PanelState& panelState(int index) const;
    PanelModel& model(int panel);
    // The icon callback of both panels' models.
    void SetIconProvider(const PanelIconProvider& provider);

    // ---- panels ----
    // Lists the process's current directory into the panel; the header's count and the path line
    // follow.
    void FillFromDirectory(int panel);
    // Takes the instrument's listing into the panel; count and path line follow.
    void FillFromDevice(int panel);
    // A sort item of the context menu: stores the mode and sorts this panel's rows at once.
    void SetSortMode(int panel, int32_t sortMode);
    // A double click on a row (or Enter on the first selected row); a row outside the rows does nothing.
    void OpenItem(int panel, int row);
    // The drive list's selection changed to this row of the drive table (-1: no selection).
    void OnDriveChosen(int panel, int driveIndex);
    // The header's "\" and ".." buttons.
    void GoToRoot(int panel);
    void GoUp(int panel);
    // Makes the instrument's one current directory the path of this instrument panel (the other
    // panel may have moved it) and lists it afresh, so that file names sent next belong to this
    // panel's directory and a delete finds its entry listed there; 1 on success, 0 when the walk
    // could not be verified or an exchange failed (the user has been told).
    int SyncDeviceDirectory(int panel);
    // The panel back on "/" as a computer panel, its drive list showing "/" with this item selected.
    void ResetPanelToDriveC(int panel, int driveItem);
    // The drive list's item of "/" (the table's first row).
    int FirstDriveIndex() const { return 0; }

    // ---- drives and the instrument's disk ----
    void BuildDriveTable();
    void RefreshDriveInfo(int index); // a row, or kAllComputerDrives
    const std::vector<DriveInfo>& Drives() const { return m_drives; }
    // The instrument's disk information into the device row; 1, 0 (exchange failed), -1 (status 1)
    // or the status when above 1.
    int ReadDeviceDiskInfo();
    uint16_t DeviceKind() const { return m_nDeviceKind; }
    uint32_t DeviceTotal() const { return m_nDeviceTotal; } // units of 1000 bytes
    uint32_t DeviceFree() const { return m_nDeviceFree; }
    const QString& DeviceLabel() const { return m_strDeviceLabel; }
    // Set once a panel entered the instrument after its disk information was read; cleared by
    // "Отключить транспорт".
    bool m_bDiskOpened = false;

    // ---- commands on the selection (each rebuilds the panel's selection from the list first) ----
    void CopySelection(int panel);
    void DeleteSelection(int panel);
    void MakeDirectoryInPanel(int panel);
    void ConvertSelection(int panel);
    void ShowSelectedSgy(int panel);
    // The SEG-Y file a new signal-viewer document opens.
    const QString& SgyFileToOpen() const { return m_strSgyFile; }

    // ---- link commands ----
    // COM1 (32772), COM2 (32773), "Сетевое соединение" (32775): nothing when connected by this kind,
    // a disconnect first when connected by another; 1 when connected afterwards.
    int ChooseLink(int32_t linkType);
    // 32826: when not connected, connect by the saved link type (1 and 2 COM, anything else network).
    int ConnectBySavedLink();
    // "Показать транспорт".
    void ShowTransportCommand();
    // "Отключить транспорт": device panels back to "/", m_bDiskOpened cleared, Disconnect.
    void DisconnectTransport();
    bool IsConnected() const { return m_device.m_bConnected; }
    // True while an instrument exchange may be running: the panels are locked meanwhile.
    bool PanelsLocked() const { return m_lockDepth > 0; }
    int32_t LinkType() const { return m_device.m_nLinkType; }

    // ---- toolbar (32782) ----
    void ToggleToolbar();
    bool ToolbarVisible() const { return m_bToolbarVisible; }

private:
    void RebuildSelection(int panel);
    void Message(const char* text, const char* caption = nullptr);
    bool AskRetry();
    // Both instrument panels back on the computer's first drive; the disk counts as not opened.
    void ReturnDevicePanelsToDriveC();
    int OpenDeviceDisk();
    bool ConnectByLinkType();
    void MakeCurrentAndRefill(int panel, const QString& path);

    Prompts& m_prompts;
    PanelViews& m_views;
    FileDialogs* m_dialogs = nullptr;
    std::unique_ptr<DriveSource> m_driveSource;
    CRemoteDevice m_device;
    std::array<PanelState, kPanelCount> m_panels;
    std::array<std::unique_ptr<PanelModel>, kPanelCount> m_models;
    std::vector<DriveInfo> m_drives;
    std::function<void()> m_showTransport;

    uint16_t m_nDeviceKind = 0;
    uint32_t m_nDeviceTotal = 0;
    uint32_t m_nDeviceFree = 0;
    QString m_strDeviceLabel;
    QString m_strSgyFile;
    bool m_bToolbarVisible = true;
    int m_lockDepth = 0;

    // The panels locked (headers, lists, menu, toolbar) for as long as it lives; nested locks unlock
    // with the outermost.
    class PanelLock {
    public:
        explicit PanelLock(FileManager& files);
        ~PanelLock();
        PanelLock(const PanelLock&) = delete;
        PanelLock& operator=(const PanelLock&) = delete;

    private:
        FileManager& m_files;
    };
};

} // namespace zarno
