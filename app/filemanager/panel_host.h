#pragma once
// The two file panels as the file operations see them (copy, delete, make directory, convert): each
// panel's state and rows, the instrument, and the refreshes after a change. The main frame's file
// manager logic implements it; the operations and their dialogs only use it, so they can be tested
// against a small fake.

#include "app/remotedisk/file_entry.h"
#include "app/shell/drive_names.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace zarno {

class CRemoteDevice;

constexpr int kPanelCount = 2; // 0 left, 1 right
constexpr int kPanelColumns = 4;

enum SortMode : int32_t { kSortByType = 0, kSortByName = 1, kSortBySize = 2, kSortByDate = 3 };

struct PanelState {
    // A computer path (POSIX; "/" is the first drive) or an instrument path ("z:\", "z:\REC\A").
    QString path;
    bool onDevice = false;
    int32_t sortMode = kSortByType;
    std::array<int32_t, kPanelColumns> columnWidths{}; // 0: the default width
    // Row indices, rebuilt from the list's selected rows before each command on the selection.
    std::vector<int> selection;
};

inline int OtherPanel(int panel) {
    return 1 - panel;
}


// A name in a panel's directory: the instrument's paths join with "\" except at "z:\", the
// computer's with "/" except at a directory that already ends in one ("/").
inline QString JoinPanelPath(const QString& directory, const QString& name) {
    if (IsDevicePath(directory))
        return directory.size() == 3 ? directory + name : directory + QLatin1Char('\\') + name;
    return directory.endsWith(QLatin1Char('/')) ? directory + name : directory + QLatin1Char('/') + name;
}

class PanelHost {
public:
    virtual ~PanelHost() = default;

    virtual PanelState& panel(int index) = 0;
    // The entries of a panel's rows in row order; selection indices point into them.
    virtual int rowCount(int panel) const = 0;
    virtual const CFileEntry& row(int panel, int row) const = 0;

    virtual CRemoteDevice& device() = 0;

    // Enters an instrument directory for a panel ("z:\", "..", a name) or, with an empty name,
    // reads the panel's instrument directory again; 1 on success, 0 when the panel fell back to
    // the computer's first drive.
    virtual int EnterDeviceDirectory(int panel, const QString& name) = 0;
    // Makes a computer panel's path the current directory, reads it back as the panel's path and
    // fills the panel from it.
    virtual void RefillComputerPanel(int panel) = 0;
};

} // namespace zarno
