#pragma once
// The two panels: their states (path, side, sort mode, column widths, selection) and rows, the
// refills from a computer directory or the instrument's listing, and the computer-side moves. A
// computer panel's directory is the process's current directory while the panel is refilled, so
// every refill first makes the panel's path current.

#include "app/filemanager/drive_table.h"
#include "app/filemanager/panel_host.h"
#include "app/filemanager/panel_model.h"
#include "app/filemanager/panel_views.h"

#include <array>
#include <list>
#include <memory>
#include <vector>

namespace zarno {

struct PersistentSettings;

class PanelSet {
public:
    // `drives` is the drive table the drive lists show; it outlives the panels.
    PanelSet(PanelViews& views, const std::vector<DriveInfo>& drives);

    PanelState& state(int panel) { return m_states.at(size_t(panel)); }
    const PanelState& state(int panel) const { return m_states.at(size_t(panel)); }
    PanelModel& model(int panel) { return *m_models.at(size_t(panel)); }
    int rowCount(int panel) const { return m_models.at(size_t(panel))->rowCount(); }
    // A row outside the rows reads as an empty entry: callers check the selection against rowCount.
    const CFileEntry& row(int panel, int row) const;
    void SetIconProvider(const PanelIconProvider& provider);

    // The saved paths, sort modes and column widths in and out; the panels start on the computer.
    void Load(const PersistentSettings& settings);
    void Store(PersistentSettings& settings) const;

    // Lists the process's current directory into the panel; the header's count and the path line
    // follow.
    void FillFromDirectory(int panel);
    // Takes the instrument's listing into the panel; count and path line follow.
    void FillFromDevice(int panel, std::list<std::unique_ptr<CFileEntry>>& listing);
    void SetSortMode(int panel, int32_t sortMode);
    // Makes `path` current and the panel's path as the system reads it back, refilled. A directory
    // that cannot be entered leaves the panel where it was.
    void MakeCurrentAndRefill(int panel, const QString& path);
    // The first fill: the saved path when that is a computer directory, else "/".
    void Initialise(int panel);
    // The panel back on "/" as a computer panel, its drive list showing "/" with the first item
    // (the drive table's first row) selected.
    void ResetToFirstDrive(int panel);
    // The selection rebuilt from the list's selected rows, rows outside the panel's rows left out.
    const std::vector<int>& RebuildSelection(int panel);

private:
    PanelViews& m_views;
    const std::vector<DriveInfo>& m_drives;
    std::array<PanelState, kPanelCount> m_states;
    std::array<std::unique_ptr<PanelModel>, kPanelCount> m_models;
};

} // namespace zarno
