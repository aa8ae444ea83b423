#include "app/filemanager/file_manager.h"

#include "app/filemanager/computer_entries.h"
#include "app/link/transport_link.h"
#include "app/shell/persistent_settings.h"

#include <QDir>

#include <algorithm>
#include <limits>

namespace zarno {

namespace {

const char* const kAppCaption = "Zarno";
const char* const kRetryText = "Ошибка при установке каталога! Повторить?";
constexpr uint16_t kDeviceKindNoDirectories = 1;

// The panel header's file count follows the listing as the entries arrive.
class FileCountProgress final : public Progress {
public:
    FileCountProgress(PanelViews& views, int panel) : m_views(views), m_panel(panel) {}
    void setRange(qint64) override {}
    void setValue(qint64 done) override { m_views.setFileCount(m_panel, int(done)); }

private:
    PanelViews& m_views;
    int m_panel;
};

bool SamePath(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// (x / 1000) * 1024 of the device row, which can pass 32 bits for disks above 4 GB.
uint32_t DeviceRowUnits(uint32_t kiloUnits) {
    const uint64_t v = uint64_t(kiloUnits) * 1024;
    return v > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max() : uint32_t(v);
}

void ShowTransportWindowOfLibrary() {
    CTransportLink& link = CTransportLink::Instance();
    if (link.IsLoaded() && link.Api().ShowTransport)
        link.Api().ShowTransport(link.Transport, 1);
}

int32_t ValidSortMode(int32_t mode) {
    return mode >= kSortByType && mode <= kSortByDate ? mode : kSortByType;
}

} // namespace

QString NextDevicePath(const QString& path, const QString& name) {
    if (SamePath(name, kParentName)) {
        const qsizetype cut = path.lastIndexOf(QLatin1Char('\\'));
        const QString up = cut < 0 ? path : path.left(cut);
        return SamePath(up, QStringLiteral("z:")) ? kDeviceDrive : up;
    }
    if (SamePath(name, kDeviceDrive))
        return kDeviceDrive;
    if (name.isEmpty())
        return path;
    if (path == kDeviceDrive)
        return path + name;
    return path + QLatin1Char('\\') + name;
}

QString ProposedCopyName(const CFileEntry& entry) {
    if (HasType(entry, "ddb"))
        return entry.title + QStringLiteral(".sgy");
    return entry.fileName;
}

FileManager::FileManager(Prompts& prompts, PanelViews& views, std::unique_ptr<DriveSource> drives)
    : m_prompts(prompts), m_views(views),
      m_driveSource(drives ? std::move(drives) : std::make_unique<SystemDriveSource>()), m_device(prompts),
      m_showTransport(&ShowTransportWindowOfLibrary) {
    for (auto& model : m_models)
        model = std::make_unique<PanelModel>();
    for (auto& state : m_panels)
        state.path = kFirstDrive;
}

FileManager::~FileManager() = default;

// ---- life ----

void FileManager::Create(const PersistentSettings& settings) {
    for (int p = 0; p < kPanelCount; ++p) {
        PanelState& state = m_panels[size_t(p)];
        state.path = settings.m_strCurrentDirectory[size_t(p)];
        state.onDevice = false;
        state.sortMode = ValidSortMode(settings.m_nSortDirectory[size_t(p)]);
        for (int c = 0; c < kPanelColumns; ++c)
            state.columnWidths[size_t(c)] = settings.m_nColumn[size_t(c)][size_t(p)];
    }
    m_device.LoadLinkSettings(settings);
    BuildDriveTable();
    ConnectBySavedLink();
}

void FileManager::InitialisePanel(int p) {
    PanelState& state = panel(p);
    // A saved path that is no computer directory (an instrument path such as "Z:\REC", a directory
    // that has gone) would show some other directory under that name: start on "/" instead.
    QString path = state.path;
    if (path.isEmpty() || IsDevicePath(path) || !QDir(path).exists() || !QDir::setCurrent(path)) {
        path = kFirstDrive;
        QDir::setCurrent(path);
    }
    state.path = QDir::currentPath();
    state.onDevice = false;
    m_views.showDriveInList(p, DriveRootOf(m_drives, state.path));
    FillFromDirectory(p);
}

void FileManager::Destroy(PersistentSettings& settings) {
    if (m_device.m_bConnected || m_device.m_bLoaded)
        m_device.Disconnect();
    for (int p = 0; p < kPanelCount; ++p) {
        const PanelState& state = m_panels[size_t(p)];
        settings.m_strCurrentDirectory[size_t(p)] = state.path;
        settings.m_nSortDirectory[size_t(p)] = state.sortMode;
        for (int c = 0; c < kPanelColumns; ++c)
            settings.m_nColumn[size_t(c)][size_t(p)] = state.columnWidths[size_t(c)];
    }
    m_device.StoreLinkSettings(settings);
}

// ---- PanelHost ----

PanelState& FileManager::panel(int index) {
    return m_panels.at(size_t(index));
}

const PanelState& FileManager::panelState(int index) const {
    return m_panels.at(size_t(index));
}

int FileManager::rowCount(int p) const {
    return m_models.at(size_t(p))->rowCount();
}

const CFileEntry& FileManager::row(int p, int r) const {
    // A row outside the rows reads as an empty entry: callers check the selection against rowCount.
    static const CFileEntry kNoRow;
    const CFileEntry* e = m_models.at(size_t(p))->entry(r);
    return e ? *e : kNoRow;
}

PanelModel& FileManager::model(int p) {
    return *m_models.at(size_t(p));
}

void FileManager::SetIconProvider(const PanelIconProvider& provider) {
    for (auto& model : m_models)
        model->setIconProvider(provider);
}

void FileManager::RefillComputerPanel(int p) {
    MakeCurrentAndRefill(p, panel(p).path);
}

// ---- panels ----

void FileManager::FillFromDirectory(int p) {
    PanelState& state = panel(p);
    model(p).FillFromDirectory(state.path, state.sortMode);
    m_views.setFileCount(p, model(p).shownCount());
    m_views.setPathText(p, state.path);
}

void FileManager::FillFromDevice(int p) {
    PanelState& state = panel(p);
    model(p).FillFromDevice(m_device.Listing(), state.path, state.sortMode);
    m_views.setFileCount(p, model(p).shownCount());
    m_views.setPathText(p, state.path);
}

void FileManager::SetSortMode(int p, int32_t sortMode) {
    panel(p).sortMode = ValidSortMode(sortMode);
    model(p).SortRows(panel(p).sortMode);
}

// Makes `path` current and the panel's path as the system reads it back. A directory that cannot be
// entered leaves the panel where it was, never on whatever directory happened to be current.
void FileManager::MakeCurrentAndRefill(int p, const QString& path) {
    PanelState& state = panel(p);
    if (!QDir::setCurrent(path) && !QDir::setCurrent(state.path))
        QDir::setCurrent(kFirstDrive);
    state.path = QDir::currentPath();
    FillFromDirectory(p);
    m_views.showDriveInList(p, DriveRootOf(m_drives, state.path));
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
        if (!isDirectory)
            return;
        const int item = FirstDriveIndex();
        if (EnterDeviceDirectory(p, fileName) != 1)
            ResetPanelToDriveC(p, item);
        return;
    }
    if (isDirectory) {
        MakeCurrentAndRefill(p, fullPath);
        return;
    }
    if (typeText.compare(QStringLiteral("sgy"), Qt::CaseInsensitive) == 0) {
        m_strSgyFile = fullPath;
        m_views.setToolbarVisible(false);
        m_views.openViewerDocument(fullPath);
        return;
    }
    m_views.openWithDesktop(fullPath);
}

void FileManager::OnDriveChosen(int p, int driveIndex) {
    if (driveIndex < 0 || driveIndex >= int(m_drives.size())) {
        Message("Ошибка при выборе накопителя!");
        return;
    }
    const int item = FirstDriveIndex();
    RefreshDriveInfo(driveIndex);
    const DriveInfo drive = m_drives[size_t(driveIndex)];
    PanelState& state = panel(p);
    if (drive.volumeName == kUnknownVolume) {
        ResetPanelToDriveC(p, item);
        return;
    }
    if (drive.driveType != kDriveDevice) {
        state.onDevice = false;
        MakeCurrentAndRefill(p, drive.root);
        return;
    }
    // Nothing else may start while the instrument is being opened: its exchanges run the event loop.
    const PanelLock lock(*this);
    // The flag spares a second panel the disk information, but only while that connection lasts.
    if (!m_bDiskOpened || !IsConnected()) {
        if (OpenDeviceDisk() != 1) {
            ResetPanelToDriveC(p, item);
            return;
        }
    }
    state.onDevice = true;
    m_bDiskOpened = true;
    if (EnterDeviceDirectory(p, kDeviceDrive) != 1)
        ResetPanelToDriveC(p, item);
}

// Connects when needed and reads the disk information under the waiting pop-up; 1 on success.
int FileManager::OpenDeviceDisk() {
    if (!IsConnected()) {
        const int32_t type = m_device.m_nLinkType;
        if (type != kLinkCom1 && type != kLinkCom2 && type != kLinkNetwork) {
            Message("Необходимо определить удаленное устройство");
            return 0;
        }
        if (!ConnectByLinkType())
            return 0;
    }
    m_views.showWaitPopup();
    const int result = ReadDeviceDiskInfo();
    m_views.closeWaitPopup();
    return result == kDiskInfoOk ? 1 : 0;
}

bool FileManager::ConnectByLinkType() {
    const int32_t type = m_device.m_nLinkType;
    if (type == kLinkCom1 || type == kLinkCom2)
        return m_device.ConnectCom(type) == 1;
    return m_device.ConnectNetwork() == 1;
}

void FileManager::GoToRoot(int p) {
    if (panel(p).onDevice) {
        const int item = FirstDriveIndex();
        if (EnterDeviceDirectory(p, kDeviceDrive) != 1)
            ResetPanelToDriveC(p, item);
        return;
    }
    MakeCurrentAndRefill(p, DriveRootOf(m_drives, panel(p).path));
}

void FileManager::GoUp(int p) {
    if (panel(p).onDevice) {
        const int item = FirstDriveIndex();
        if (EnterDeviceDirectory(p, kParentName) != 1)
            ResetPanelToDriveC(p, item);
        return;
    }
    // Up from the panel's own directory: the process's current one may be the other panel's.
    MakeCurrentAndRefill(p, QDir(panel(p).path).absoluteFilePath(kParentName));
}

void FileManager::ResetPanelToDriveC(int p, int driveItem) {
    PanelState& state = panel(p);
    state.path = kFirstDrive;
    state.onDevice = false;
    QDir::setCurrent(kFirstDrive);
    m_views.showDriveInList(p, kFirstDrive);
    m_views.selectDriveItem(p, driveItem);
    m_views.setPathText(p, kFirstDrive);
    FillFromDirectory(p);
}

void FileManager::ReturnDevicePanelsToDriveC() {
    for (int p = 0; p < kPanelCount; ++p)
        if (panel(p).onDevice)
            ResetPanelToDriveC(p, FirstDriveIndex());
    m_bDiskOpened = false;
    m_device.Walk().Forget();
}

FileManager::PanelLock::PanelLock(FileManager& files) : m_files(files) {
    if (m_files.m_lockDepth++ == 0)
        m_files.m_views.setPanelsLocked(true);
}

FileManager::PanelLock::~PanelLock() {
    if (--m_files.m_lockDepth == 0)
        m_files.m_views.setPanelsLocked(false);
}

// ---- instrument navigation ----

bool FileManager::AskRetry() {
    return m_prompts.askYesNo(QString::fromUtf8(kRetryText), QString::fromUtf8(kAppCaption));
}

// The instrument has one current directory for both panels; the walk moves it to the panel's path
// (or reads it again there), checking every step, and leaves the directory's fresh listing.
int FileManager::SyncDeviceDirectory(int p) {
    const PanelLock lock(*this);
    if (m_device.Walk().Enter(panel(p).path) != 1)
        return 0;
    m_device.Listing().clear();
    return 1;
}

int FileManager::EnterDeviceDirectory(int p, const QString& name) {
    const PanelLock lock(*this);
    PanelState& state = panel(p);
    const QString newPath = NextDevicePath(state.path, name);
    state.path = newPath;
    FileCountProgress counter(m_views, p);
    while (m_device.Walk().Enter(newPath, &counter) != 1) {
        if (!AskRetry()) {
            ResetPanelToDriveC(p, FirstDriveIndex());
            return 0;
        }
    }
    state.onDevice = true;
    FillFromDevice(p);
    return 1;
}

// ---- drives and the instrument's disk ----

void FileManager::BuildDriveTable() {
    m_drives = zarno::BuildDriveTable(*m_driveSource);
}

void FileManager::RefreshDriveInfo(int index) {
    zarno::RefreshDriveInfo(m_drives, index, *m_driveSource);
}

int FileManager::ReadDeviceDiskInfo() {
    DiskInfo info;
    if (m_device.GetDiskInfo(&info) != 1)
        return kDiskInfoExchangeFailed;
    const uint16_t status = info.status();
    if (status == 1)
        return kDiskInfoStatusOne;
    if (status > 1)
        return status;
    m_nDeviceKind = info.kind();
    m_nDeviceTotal = info.totalBytes() / 1000;
    m_nDeviceFree = info.freeBytes() / 1000;
    m_strDeviceLabel = info.label();

    auto device = std::find_if(m_drives.begin(), m_drives.end(),
                               [](const DriveInfo& d) { return d.driveType == kDriveDevice; });
    if (device == m_drives.end())
        device = m_drives.insert(m_drives.end(), DeviceDriveRow());
    DriveInfo& row = *device;
    row.root = kDeviceDrive;
    row.driveType = kDriveDevice;
    row.kind = kKindDevice;
    row.volumeName = m_strDeviceLabel;
    row.serialNumber = kDeviceSerialNumber;
    row.free = DeviceRowUnits(m_nDeviceFree);
    row.total = DeviceRowUnits(m_nDeviceTotal);
    row.fileSystemName = kDeviceFileSystem;
    row.maxNameLength = kDeviceMaxNameLength;
    return kDiskInfoOk;
}

// ---- commands on the selection ----

void FileManager::Message(const char* text, const char* caption) {
    m_prompts.message(QString::fromUtf8(text), QString::fromUtf8(caption ? caption : kAppCaption),
                      PromptIcon::None);
}

void FileManager::RebuildSelection(int p) {
    std::vector<int> rows = m_views.selectedRows(p);
    const int count = rowCount(p);
    rows.erase(std::remove_if(rows.begin(), rows.end(), [count](int r) { return r < 0 || r >= count; }),
               rows.end());
    panel(p).selection = std::move(rows);
}

void FileManager::CopySelection(int p) {
    RebuildSelection(p);
    const std::vector<int>& selection = panel(p).selection;
    if (selection.empty())
        return;
    if (panel(0).onDevice && panel(1).onDevice) {
        Message("Копирование с удаленного утройства на удаленное запрещено!");
        return;
    }
    m_views.releaseMouseCapture();
    for (int r : selection) {
        if (row(p, r).isDirectory) {
            Message("Копирование каталогов запрещено!");
            return;
        }
    }
    const int devicePanel = panel(p).onDevice ? p : (panel(OtherPanel(p)).onDevice ? OtherPanel(p) : -1);
    if (devicePanel >= 0 && SyncDeviceDirectory(devicePanel) != 1)
        return;
    if (!m_dialogs)
        return;
    if (selection.size() == 1) {
        const CFileEntry& entry = row(p, selection.front());
        m_dialogs->OpenCopy(p, entry, ProposedCopyName(entry));
    } else {
        m_dialogs->OpenCopyMany(p, int(selection.size()));
    }
}

void FileManager::DeleteSelection(int p) {
    RebuildSelection(p);
    const std::vector<int>& selection = panel(p).selection;
    if (selection.empty()) {
        Message("Нет выбранных файлов!");
        return;
    }
    m_views.releaseMouseCapture();
    if (selection.size() > 1) {
        for (int r : selection) {
            if (row(p, r).isDirectory) {
                Message("Стирание нескольких каталогов запрещено!");
                return;
            }
        }
    }
    if (panel(p).onDevice && SyncDeviceDirectory(p) != 1)
        return;
    if (!m_dialogs)
        return;
    if (selection.size() == 1)
        m_dialogs->OpenDelete(p, row(p, selection.front()));
    else
        m_dialogs->OpenDeleteMany(p, int(selection.size()));
}

void FileManager::MakeDirectoryInPanel(int p) {
    if (panel(p).onDevice && m_nDeviceKind == kDeviceKindNoDirectories) {
        Message("На удаленном устройстве данного типа каталоги создавать невозможно!", "Warning!");
        return;
    }
    m_views.releaseMouseCapture();
    if (panel(p).onDevice && SyncDeviceDirectory(p) != 1)
        return;
    if (m_dialogs)
        m_dialogs->OpenCreateDirectory(p);
}

void FileManager::ConvertSelection(int p) {
    RebuildSelection(p);
    const std::vector<int>& selection = panel(p).selection;
    if (selection.empty()) {
        Message("Нет выбранных файлов!");
        return;
    }
    if (panel(p).onDevice) {
        Message("Используйте функцию копирования при перенесении DDB файлов на компьютер!");
        return;
    }
    m_views.releaseMouseCapture();
    int ddbCount = 0;
    for (int r : selection) {
        const CFileEntry& e = row(p, r);
        if (e.isDirectory) {
            Message("Копирование каталогов запрещено!");
            return;
        }
        ddbCount += HasType(e, "ddb") ? 1 : 0;
    }
    if (ddbCount == 0) {
        Message("Нет выбранных DDB файлов!");
        return;
    }
    const int target = OtherPanel(p);
    if (m_dialogs)
        m_dialogs->OpenTransform(p, ddbCount);
    if (!panel(target).onDevice)
        RefillComputerPanel(target);
}

void FileManager::ShowSelectedSgy(int p) {
    RebuildSelection(p);
    const std::vector<int>& selection = panel(p).selection;
    if (selection.empty()) {
        Message("Нет выбранных файлов!");
        return;
    }
    if (selection.size() > 1) {
        Message("Выберите только один файл!");
        return;
    }
    m_views.releaseMouseCapture();
    m_strSgyFile = row(p, selection.front()).fullPath;
    m_views.setToolbarVisible(false);
    m_views.openViewerDocument(m_strSgyFile);
}

// ---- link commands ----

int FileManager::ChooseLink(int32_t linkType) {
    if (IsConnected() && m_device.m_nLinkType == linkType)
        return 1;
    if (IsConnected()) {
        // Another link may reach another instrument: nothing shown of this one may stay, or a later
        // command would act on the other instrument's file of the same name.
        ReturnDevicePanelsToDriveC();
        m_device.Disconnect();
    }
    if (linkType == kLinkCom1 || linkType == kLinkCom2)
        return m_device.ConnectCom(linkType);
    if (linkType == kLinkNetwork)
        return m_device.ConnectNetwork();
    return 0;
}

int FileManager::ConnectBySavedLink() {
    if (IsConnected())
        return 1;
    return ConnectByLinkType() ? 1 : 0;
}

void FileManager::ShowTransportCommand() {
    if (IsConnected()) {
        m_showTransport();
        return;
    }
    const int32_t type = m_device.m_nLinkType;
    if (type != kLinkCom1 && type != kLinkCom2 && type != kLinkNetwork) {
        Message("Необходимо определить Внешнее Усторойство!");
        return;
    }
    if (ConnectByLinkType())
        m_showTransport();
    else
        Message("Необходимо определить внешнее усторойство!");
}

void FileManager::DisconnectTransport() {
    ReturnDevicePanelsToDriveC();
    m_device.Disconnect();
}

void FileManager::ToggleToolbar() {
    m_bToolbarVisible = !m_bToolbarVisible;
    m_views.setToolbarVisible(m_bToolbarVisible);
}

} // namespace zarno
