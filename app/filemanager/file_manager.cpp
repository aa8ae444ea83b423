#include "app/filemanager/file_manager.h"

#include "app/filemanager/computer_entries.h"
#include "app/shell/persistent_settings.h"

#include <QDir>
#include <QCoreApplication>

namespace zarno {

FileManager::FileManager(Prompts& prompts, PanelViews& views, std::unique_ptr<DriveSource> drives)
    : m_prompts(prompts), m_views(views), m_device(CTransportLink::Instance(), prompts), m_drives(std::move(drives)),
      m_panels(views, m_drives.Table()), m_locks(views),
      m_navigation(m_panels, m_drives, m_device, prompts, views, m_locks),
      m_link(m_device, prompts, m_navigation), m_selection(m_panels, m_drives, m_navigation, prompts, views,
                                                           [this](const QString& path) { OpenSgy(path); }) {}

FileManager::~FileManager() = default;

// ---- life ----

void FileManager::Create(const PersistentSettings& settings) {
    m_panels.Load(settings);
    m_device.LoadLinkSettings(settings);
    m_drives.Build();
    m_link.ConnectBySaved();
}

void FileManager::Destroy(PersistentSettings& settings) {
    if (m_device.IsConnected() || m_device.IsLoaded())
        m_device.Disconnect();
    m_panels.Store(settings);
    m_device.StoreLinkSettings(settings);
}

void FileManager::RefillComputerPanel(int p) {
    m_panels.MakeCurrentAndRefill(p, panel(p).path);
}

// ---- panels ----

void FileManager::OpenSgy(const QString& path) {
    m_strSgyFile = path;
    m_views.setToolbarVisible(false);
    m_views.openViewerDocument(path);
}

void FileManager::OpenItem(int p, int r) {
    const CFileEntry* e = model(p).entry(r);
    if (!e)
        return;
    // The entry goes with the rows when the panel is refilled: keep what is needed.
    const bool isDirectory = e->isDirectory;
    const QString fileName = e->fileName;
    const QString fullPath = e->fullPath;
    const QString typeText = e->typeText;
    if (panel(p).onDevice) {
        if (isDirectory)
            m_navigation.Enter(p, fileName);
        return;
    }
    if (isDirectory)
        m_panels.MakeCurrentAndRefill(p, fullPath);
    else if (typeText.compare(QStringLiteral("sgy"), Qt::CaseInsensitive) == 0)
        OpenSgy(fullPath);
    else
        m_views.openWithDesktop(fullPath);
}

void FileManager::OnDriveChosen(int p, int driveIndex) {
    if (driveIndex < 0 || driveIndex >= int(Drives().size())) {
        m_prompts.message(QCoreApplication::translate("zarno", "Ошибка при выборе накопителя!"), QString::fromUtf8(kAppCaption),
                          PromptIcon::None);
        return;
    }
    m_drives.Refresh(driveIndex);
    const DriveInfo drive = Drives()[size_t(driveIndex)];
    if (drive.volumeName == kUnknownVolume) {
        m_panels.ResetToFirstDrive(p);
        return;
    }
    if (drive.driveType != kDriveDevice) {
        panel(p).onDevice = false;
        m_panels.MakeCurrentAndRefill(p, drive.root);
        return;
    }
    // Nothing else may start while the instrument is being opened: its exchanges run the event loop.
    const PanelLocks::Scope lock(m_locks);
    // The flag spares a second panel the disk information, but only while that connection lasts.
    if ((!m_drives.DiskOpened() || !IsConnected()) && !OpenDeviceDisk()) {
        m_panels.ResetToFirstDrive(p);
        return;
    }
    panel(p).onDevice = true;
    m_drives.SetDiskOpened(true);
    m_navigation.Enter(p, kDeviceDrive);
}

bool FileManager::OpenDeviceDisk() {
    if (!IsConnected()) {
        if (!IsKnownLink(m_device.LinkType())) {
            m_prompts.message(QCoreApplication::translate("zarno", "Необходимо определить удаленное устройство"),
                              QString::fromUtf8(kAppCaption), PromptIcon::None);
            return false;
        }
        if (!m_link.ConnectByLinkType())
            return false;
    }
    m_views.showWaitPopup();
    const int result = m_drives.ReadDeviceDiskInfo(m_device);
    m_views.closeWaitPopup();
    return result == kDiskInfoOk;
}

void FileManager::GoToRoot(int p) {
    if (panel(p).onDevice)
        m_navigation.Enter(p, kDeviceDrive);
    else
        m_panels.MakeCurrentAndRefill(p, DriveRootOf(Drives(), panel(p).path));
}

void FileManager::GoUp(int p) {
    if (panel(p).onDevice)
        m_navigation.Enter(p, kParentName);
    else // up from the panel's own directory: the process's current one may be the other panel's
        m_panels.MakeCurrentAndRefill(p, QDir(panel(p).path).absoluteFilePath(kParentName));
}

void FileManager::ToggleToolbar() {
    m_bToolbarVisible = !m_bToolbarVisible;
    m_views.setToolbarVisible(m_bToolbarVisible);
}

} // namespace zarno
