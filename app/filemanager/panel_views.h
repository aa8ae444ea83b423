#pragma once
// What the file manager's logic asks of the windows around the two panels: the panel headers (file
// count, drive list), the path lines, the locking of the panels during an instrument exchange, the
// waiting pop-up, the toolbar and the documents it opens. The main window implements it; tests
// record the calls.

#include <QString>

#include <vector>

namespace zarno {

class PanelViews {
public:
    virtual ~PanelViews() = default;

    // The panel header's red file count ("%d").
    virtual void setFileCount(int panel, int count) = 0;
    // The path line's text.
    virtual void setPathText(int panel, const QString& path) = 0;
    // The text shown in the panel header's drive list (a drive root, or "z:\").
    virtual void showDriveInList(int panel, const QString& root) = 0;
    // Selects that item of the panel header's drive list (its items are the drive table's roots, in
    // the table's order); no selection-change handling follows.
    virtual void selectDriveItem(int panel, int index) = 0;
    // Locked: both headers' drive lists and buttons ("Диск инфо", "\", ".."), both lists and the main
    // menu are disabled; unlocked: all enabled again.
    virtual void setPanelsLocked(bool locked) = 0;
    // The small modeless "Настройка связи ..." window while the instrument's disk information is read.
    virtual void showWaitPopup() = 0;
    virtual void closeWaitPopup() = 0;
    // The list's selected rows, in the list's order.
    virtual std::vector<int> selectedRows(int panel) = 0;
    // Gives up the mouse capture when some window holds it (before a dialog opens).
    virtual void releaseMouseCapture() = 0;
    // Shows or hides the command toolbar (the file manager keeps the user's choice apart).
    virtual void setToolbarVisible(bool visible) = 0;
    // A new signal-viewer document; it opens FileManager::SgyFileToOpen().
    virtual void openViewerDocument(const QString& sgyPath) = 0;
    // Opens a file with the desktop's associated program.
    virtual void openWithDesktop(const QString& path) = 0;
};

} // namespace zarno
