#include "app/filemanager/device_navigation.h"

#include "app/filemanager/computer_entries.h"
#include "app/i18n/texts.h"
#include "app/shell/persistent_settings.h"

namespace zarno {

namespace {

const char* const kRetryText = QT_TRANSLATE_NOOP("zarno", "Ошибка при установке каталога! Повторить?");

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

} // namespace

QString NextDevicePath(const QString& path, const QString& name) {
    if (SamePath(name, kParentName)) {
        const qsizetype cut = path.lastIndexOf(QLatin1Char('\\'));
        const QString up = cut < 0 ? path : path.left(cut);
        return SamePath(up, kDeviceDriveName) ? kDeviceDrive : up;
    }
    if (SamePath(name, kDeviceDrive))
        return kDeviceDrive;
    if (name.isEmpty())
        return path;
    if (path == kDeviceDrive)
        return path + name;
    return path + QLatin1Char('\\') + name;
}

DeviceNavigation::DeviceNavigation(PanelSet& panels, DriveList& drives, CRemoteDevice& device,
                                   Prompts& prompts, PanelViews& views, PanelLocks& locks)
    : m_panels(panels), m_drives(drives), m_device(device), m_prompts(prompts), m_views(views),
      m_locks(locks) {}

bool DeviceNavigation::AskRetry() {
    return m_prompts.askYesNo(Translated(kRetryText), QString::fromUtf8(kAppCaption));
}

int DeviceNavigation::Enter(int p, const QString& name) {
    const PanelLocks::Scope lock(m_locks);
    PanelState& state = m_panels.state(p);
    const QString newPath = NextDevicePath(state.path, name);
    state.path = newPath;
    FileCountProgress counter(m_views, p);
    while (m_device.Walk().Enter(newPath, &counter) != 1) {
        if (!AskRetry()) {
            m_panels.ResetToFirstDrive(p);
            return 0;
        }
    }
    state.onDevice = true;
    m_panels.FillFromDevice(p, m_device.Listing());
    return 1;
}

// The walk moves the instrument's directory to the panel's path (or reads it again there), checking
// every step, and leaves the directory's fresh listing.
int DeviceNavigation::Sync(int p) {
    const PanelLocks::Scope lock(m_locks);
    if (m_device.Walk().Enter(m_panels.state(p).path) != 1)
        return 0;
    m_device.Listing().clear();
    return 1;
}

void DeviceNavigation::LeaveDevice() {
    for (int p = 0; p < kPanelCount; ++p)
        if (m_panels.state(p).onDevice)
            m_panels.ResetToFirstDrive(p);
    m_drives.SetDiskOpened(false);
    m_device.Walk().Forget();
}

} // namespace zarno
