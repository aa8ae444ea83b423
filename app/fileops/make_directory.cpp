#include "app/fileops/make_directory.h"

#include "app/fileops/file_names.h"
#include "app/fileops/panel_refresh.h"
#include "app/remotedisk/device_name.h"
#include "app/remotedisk/remote_device.h"

#include <QDir>

namespace zarno {

namespace {
// The instrument makes a directory under the first 8 characters of the typed name (LONGDIRNAME
// becomes LONGDIRN) and answers nothing about it: a name its disk cannot hold ("Тест", "my dir")
// would make nothing and say nothing, so it is refused here, before anything is sent.
bool IsDeviceDirectoryNameOk(const QString& name) {
    constexpr qsizetype kKeptChars = 8;
    if (name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char(':')))
        return false;
    return FitsDeviceDirectoryName(name.left(kKeptChars));
}
} // namespace

DialogOutcome MakeDirectoryOperation::Run(int panel, const QString& name) {
    if (ShowsDevice(m_host, panel))
        MakeOnDevice(panel, name);
    else
        MakeOnComputer(panel, name);
    return DialogOutcome::Close;
}

void MakeDirectoryOperation::MakeOnDevice(int panel, const QString& name) {
    if (!IsDeviceDirectoryNameOk(name)) {
        Tell(m_prompts, kTextBadDirectoryName);
        return;
    }
    if (m_host.device().MakeDirectory(name) != kCommandDone) {
        Tell(m_prompts, kTextDeviceMkdirFailed, PromptIcon::Stop);
        return;
    }
    RereadDevicePanels(m_host, m_prompts, panel);
}

void MakeDirectoryOperation::MakeOnComputer(int panel, const QString& name) {
    // One new directory in this one: a name with a path of its own makes none.
    const QString path = LocalTargetPath(m_host.panel(panel).path, name);
    if (path.isEmpty() || !QDir().mkdir(path)) {
        Tell(m_prompts, kTextMkdirFailed, PromptIcon::Stop);
        return;
    }
    RefillComputerPanels(m_host, panel, true);
}

} // namespace zarno
