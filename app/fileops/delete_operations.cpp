#include "app/fileops/delete_operations.h"

#include "app/fileops/panel_refresh.h"
#include "app/remotedisk/remote_device.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zarno {

DialogOutcome DeleteOne::Run(int panel, const CFileEntry& entry) {
    if (entry.title == QLatin1String("..") || entry.fileName == QLatin1String("..")) {
        Tell(m_prompts, kTextCannotDeleteDots);
        return DialogOutcome::Close;
    }
    if (IsDevicePath(entry.fullPath))
        DeleteOnDevice(panel, entry);
    else
        DeleteOnComputer(panel, entry);
    return DialogOutcome::Close;
}

void DeleteOne::DeleteOnComputer(int panel, const CFileEntry& entry) {
    // A link to a directory is removed as the link it is; what it points to stays.
    if (entry.isDirectory && !QFileInfo(entry.fullPath).isSymLink()) {
        // Only an empty directory goes: rmdir, never a recursive removal.
        if (!QDir().rmdir(entry.fullPath)) {
            Tell(m_prompts, kTextDirectoryNotEmpty);
            return;
        }
    } else if (!QFile::remove(entry.fullPath)) {
        Tell(m_prompts, kTextDeleteFailed, PromptIcon::Stop);
        return;
    }
    RefillComputerPanels(m_host, panel, false);
}

void DeleteOne::DeleteOnDevice(int panel, const CFileEntry& entry) {
    if (!DeleteListedOnDevice(m_host, m_prompts, panel, entry))
        return;
    RereadDevicePanels(m_host, m_prompts, panel);
}

// Only an entry that a fresh listing of the panel's directory holds is deleted: the walk checks
// both, so a namesake in another directory is never touched. A refusal has been told already.
bool DeleteListedOnDevice(PanelHost& host, Prompts& prompts, int panel, const CFileEntry& entry) {
    const int deleted = host.device().Walk().DeleteListed(host.panel(panel).path, entry.deviceName);
    if (deleted == 0)
        Tell(prompts, kTextDeviceDeleteFailed, PromptIcon::Stop);
    return deleted == 1;
}

DialogOutcome DeleteMany::Run(int panel) {
    m_deleted = 0;
    std::vector<int>& selection = m_host.panel(panel).selection;
    const bool onDevice = ShowsDevice(m_host, panel);
    while (!selection.empty()) {
        const int row = selection.front();
        selection.erase(selection.begin());
        if (row < 0 || row >= m_host.rowCount(panel))
            continue;
        if (!DeleteEntry(panel, m_host.row(panel, row))) {
            // The panels still show what is gone: bring them up to date before the dialog closes.
            if (m_deleted > 0)
                Refresh(panel, onDevice);
            return DialogOutcome::Close;
        }
        ++m_deleted;
    }
    Refresh(panel, onDevice);
    return DialogOutcome::Close;
}

bool DeleteMany::DeleteEntry(int panel, const CFileEntry& entry) {
    if (entry.isDirectory) {
        Tell(m_prompts, kTextNoManyDirectoriesDelete);
        return false;
    }
    if (IsDevicePath(entry.fullPath))
        return DeleteListedOnDevice(m_host, m_prompts, panel, entry);
    if (QFile::remove(entry.fullPath))
        return true;
    Tell(m_prompts, kTextPcDeleteFailed, PromptIcon::Stop);
    return false;
}

void DeleteMany::Refresh(int panel, bool onDevice) {
    if (!onDevice) {
        RefillComputerPanels(m_host, panel, false);
        return;
    }
    const int other = OtherPanel(panel);
    if (ShowsDevice(m_host, other) && SamePath(m_host, panel, other))
        RereadDevicePanel(m_host, m_prompts, other);
    RereadDevicePanel(m_host, m_prompts, panel);
}

} // namespace zarno
