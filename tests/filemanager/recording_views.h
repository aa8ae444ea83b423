#pragma once
// Fakes of the windows and dialogs around the file manager: they record what the logic asks of them
// and answer the list's selection from a script.

#include "app/filemanager/drive_table.h"
#include "app/filemanager/file_dialogs.h"
#include "app/filemanager/panel_views.h"

#include <array>
#include <map>
#include <vector>

namespace zarno::testing {

class RecordingViews final : public PanelViews {
public:
    std::array<int, 2> fileCount{-1, -1};
    std::array<QString, 2> pathText;
    std::array<QString, 2> driveShown;
    std::array<int, 2> driveItem{-1, -1};
    std::vector<bool> locks; // every setPanelsLocked, in order
    bool locked = false;
    int waitShown = 0;
    int waitShownUnlocked = 0; // the disk information read while other commands could still run
    int waitClosed = 0;
    std::array<std::vector<int>, 2> selected;
    int captureReleases = 0;
    std::vector<bool> toolbar;
    std::vector<QString> viewerDocuments;
    std::vector<QString> desktopOpens;

    void setFileCount(int panel, int count) override { fileCount.at(size_t(panel)) = count; }
    void setPathText(int panel, const QString& path) override { pathText.at(size_t(panel)) = path; }
    void showDriveInList(int panel, const QString& root) override { driveShown.at(size_t(panel)) = root; }
    void selectDriveItem(int panel, int index) override { driveItem.at(size_t(panel)) = index; }
    void setPanelsLocked(bool lock) override {
        locks.push_back(lock);
        locked = lock;
    }
    void showWaitPopup() override {
        ++waitShown;
        waitShownUnlocked += locked ? 0 : 1;
    }
    void closeWaitPopup() override { ++waitClosed; }
    std::vector<int> selectedRows(int panel) override { return selected.at(size_t(panel)); }
    void releaseMouseCapture() override { ++captureReleases; }
    void setToolbarVisible(bool visible) override { toolbar.push_back(visible); }
    void openViewerDocument(const QString& sgyPath) override { viewerDocuments.push_back(sgyPath); }
    void openWithDesktop(const QString& path) override { desktopOpens.push_back(path); }
};

struct DialogCall {
    QString what; // "copy", "copyMany", "delete", "deleteMany", "mkdir", "transform"
    int panel = -1;
    QString entry;    // the entry's file name, for the single-entry dialogs
    QString proposed; // copy
    int count = 0;    // the many-entry dialogs and the conversion
};

class RecordingDialogs final : public FileDialogs {
public:
    std::vector<DialogCall> calls;
    void OpenCopy(int sourcePanel, const CFileEntry& entry, const QString& proposedName) override {
        calls.push_back({"copy", sourcePanel, entry.fileName, proposedName, 1});
    }
    void OpenCopyMany(int sourcePanel, int count) override {
        calls.push_back({"copyMany", sourcePanel, {}, {}, count});
    }
    void OpenDelete(int panel, const CFileEntry& entry) override {
        calls.push_back({"delete", panel, entry.fileName, {}, 1});
    }
    void OpenDeleteMany(int panel, int count) override {
        calls.push_back({"deleteMany", panel, {}, {}, count});
    }
    void OpenCreateDirectory(int panel) override { calls.push_back({"mkdir", panel, {}, {}, 0}); }
    void OpenTransform(int sourcePanel, int ddbCount) override {
        calls.push_back({"transform", sourcePanel, {}, {}, ddbCount});
    }
};

// A drive source of fixed answers: mounts, statvfs results per mount point (none: unreadable), labels
// and removable devices; it counts the statvfs calls per mount point.
class FixedDriveSource final : public DriveSource {
public:
    std::vector<MountEntry> mountList;
    std::map<QString, VolumeStat> stats;
    std::map<QString, QString> labels;
    std::vector<QString> removableDevices;
    std::map<QString, int> statCalls;

    std::vector<MountEntry> mounts() override { return mountList; }
    std::optional<VolumeStat> stat(const QString& mountPoint) override {
        ++statCalls[mountPoint];
        const auto it = stats.find(mountPoint);
        return it == stats.end() ? std::nullopt : std::optional<VolumeStat>(it->second);
    }
    QString label(const QString& device) override {
        const auto it = labels.find(device);
        return it == labels.end() ? QString() : it->second;
    }
    bool removable(const QString& device) override {
        return std::find(removableDevices.begin(), removableDevices.end(), device) != removableDevices.end();
    }
    bool isDirectory(const QString&) override { return true; }
};

} // namespace zarno::testing
