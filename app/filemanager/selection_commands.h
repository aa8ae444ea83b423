#pragma once
// The commands on a panel's selection (copy, delete, make directory, convert, show SGY): each
// rebuilds the selection from the list, runs its checks from one table, brings the instrument's
// directory in step when an instrument panel is involved, and opens its dialog.

#include "app/filemanager/device_navigation.h"
#include "app/filemanager/drive_list.h"
#include "app/filemanager/file_dialogs.h"
#include "app/filemanager/panel_set.h"
#include "app/seams/prompts.h"

#include <functional>
#include <span>

namespace zarno {

// The proposed target name of a single copied file: title + ".sgy" for a DDB recording (type "ddb"
// in any case), else the file name.
QString ProposedCopyName(const CFileEntry& entry);

// What the checks of a command look at.
struct SelectionFacts {
    int count = 0;
    bool anyDirectory = false;
    int ddbCount = 0;
    bool onDevice = false;     // the command's panel
    bool bothOnDevice = false; // both panels
    bool deviceWithoutDirectories = false;
};

// One check: when `refuses` holds, the command stops with `text` (none: silently). Checks marked
// `afterCapture` run once the mouse capture has been given up, as the dialog is near.
struct SelectionCheck {
    bool (*refuses)(const SelectionFacts&);
    const char* text;
    const char* caption = kAppCaption;
    bool afterCapture = false;
};

class SelectionCommands {
public:
    // `openSgy` opens a SEG-Y file in a new signal-viewer document.
    SelectionCommands(PanelSet& panels, const DriveList& drives, DeviceNavigation& navigation,
                      Prompts& prompts, PanelViews& views, std::function<void(const QString&)> openSgy);

    // The dialogs (set once they exist; until then the commands only check).
    void SetDialogs(FileDialogs* dialogs) { m_dialogs = dialogs; }

    void Copy(int panel);
    void Delete(int panel);
    void MakeDirectory(int panel);
    void Convert(int panel);
    void ShowSgy(int panel);

private:
    SelectionFacts Facts(int panel, bool withSelection);
    // Runs the checks in order, giving up the mouse capture before the first one marked so (or at
    // the end); false when one refused.
    bool Passes(std::span<const SelectionCheck> checks, const SelectionFacts& facts);

    PanelSet& m_panels;
    const DriveList& m_drives;
    DeviceNavigation& m_navigation;
    Prompts& m_prompts;
    PanelViews& m_views;
    std::function<void(const QString&)> m_openSgy;
    FileDialogs* m_dialogs = nullptr;
};

} // namespace zarno
