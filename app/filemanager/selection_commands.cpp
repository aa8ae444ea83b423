#include "app/filemanager/selection_commands.h"

#include "app/filemanager/selection_texts.h"
#include "app/i18n/texts.h"
#include "app/seams/prompts.h"

namespace zarno {

namespace {

const char* const kTextNothingSelected = QT_TRANSLATE_NOOP("zarno", "Нет выбранных файлов!");

bool NothingSelected(const SelectionFacts& f) {
    return f.count == 0;
}
bool SeveralSelected(const SelectionFacts& f) {
    return f.count > 1;
}
bool AnyDirectory(const SelectionFacts& f) {
    return f.anyDirectory;
}
bool SeveralWithDirectory(const SelectionFacts& f) {
    return f.count > 1 && f.anyDirectory;
}
bool NoDdb(const SelectionFacts& f) {
    return f.ddbCount == 0;
}
bool OnDevice(const SelectionFacts& f) {
    return f.onDevice;
}
bool BothOnDevice(const SelectionFacts& f) {
    return f.bothOnDevice;
}
bool DeviceWithoutDirectories(const SelectionFacts& f) {
    return f.deviceWithoutDirectories;
}

const SelectionCheck kCopyChecks[] = {
    {NothingSelected, nullptr},
    {BothOnDevice, QT_TRANSLATE_NOOP("zarno", "Копирование с удаленного утройства на удаленное запрещено!")},
    {AnyDirectory, kTextNoDirectoryCopy, kAppCaption, true},
};
const SelectionCheck kDeleteChecks[] = {
    {NothingSelected, kTextNothingSelected},
    {SeveralWithDirectory, kTextNoManyDirectoriesDelete, kAppCaption, true},
};
const SelectionCheck kMakeDirectoryChecks[] = {
    {DeviceWithoutDirectories, QT_TRANSLATE_NOOP("zarno", "На удаленном устройстве данного типа каталоги создавать невозможно!"),
     "Warning!"},
};
const SelectionCheck kConvertChecks[] = {
    {NothingSelected, kTextNothingSelected},
    {OnDevice, QT_TRANSLATE_NOOP("zarno", "Используйте функцию копирования при перенесении DDB файлов на компьютер!")},
    {AnyDirectory, kTextNoDirectoryCopy, kAppCaption, true},
    {NoDdb, QT_TRANSLATE_NOOP("zarno", "Нет выбранных DDB файлов!"), kAppCaption, true},
};
const SelectionCheck kShowSgyChecks[] = {
    {NothingSelected, kTextNothingSelected},
    {SeveralSelected, QT_TRANSLATE_NOOP("zarno", "Выберите только один файл!")},
};

} // namespace

QString ProposedCopyName(const CFileEntry& entry) {
    if (HasType(entry, "ddb"))
        return entry.title + QStringLiteral(".sgy");
    return entry.fileName;
}

SelectionCommands::SelectionCommands(PanelSet& panels, const DriveList& drives, DeviceNavigation& navigation,
                                     Prompts& prompts, PanelViews& views,
                                     std::function<void(const QString&)> openSgy)
    : m_panels(panels), m_drives(drives), m_navigation(navigation), m_prompts(prompts), m_views(views),
      m_openSgy(std::move(openSgy)) {}

SelectionFacts SelectionCommands::Facts(int p, bool withSelection) {
    SelectionFacts f;
    f.onDevice = m_panels.state(p).onDevice;
    f.bothOnDevice = m_panels.state(0).onDevice && m_panels.state(1).onDevice;
    f.deviceWithoutDirectories = f.onDevice && m_drives.DeviceKind() == kDeviceKindNoDirectories;
    if (!withSelection)
        return f;
    const std::vector<int>& selection = m_panels.RebuildSelection(p);
    f.count = int(selection.size());
    for (int r : selection) {
        const CFileEntry& e = m_panels.row(p, r);
        f.anyDirectory = f.anyDirectory || e.isDirectory;
        f.ddbCount += HasType(e, "ddb") ? 1 : 0;
    }
    return f;
}

bool SelectionCommands::Passes(std::span<const SelectionCheck> checks, const SelectionFacts& facts) {
    bool released = false;
    for (const SelectionCheck& check : checks) {
        if (check.afterCapture && !released) {
            m_views.releaseMouseCapture();
            released = true;
        }
        if (!check.refuses(facts))
            continue;
        if (check.text)
            m_prompts.message(Translated(check.text), QString::fromUtf8(check.caption),
                              PromptIcon::None);
        return false;
    }
    if (!released)
        m_views.releaseMouseCapture();
    return true;
}

void SelectionCommands::Copy(int p) {
    if (!Passes(kCopyChecks, Facts(p, true)))
        return;
    const int other = OtherPanel(p);
    const int devicePanel = m_panels.state(p).onDevice ? p : (m_panels.state(other).onDevice ? other : -1);
    if (devicePanel >= 0 && m_navigation.Sync(devicePanel) != 1)
        return;
    if (!m_dialogs)
        return;
    const std::vector<int>& selection = m_panels.state(p).selection;
    if (selection.size() == 1) {
        const CFileEntry& entry = m_panels.row(p, selection.front());
        m_dialogs->OpenCopy(p, entry, ProposedCopyName(entry));
    } else {
        m_dialogs->OpenCopyMany(p, int(selection.size()));
    }
}

void SelectionCommands::Delete(int p) {
    if (!Passes(kDeleteChecks, Facts(p, true)))
        return;
    if (m_panels.state(p).onDevice && m_navigation.Sync(p) != 1)
        return;
    if (!m_dialogs)
        return;
    const std::vector<int>& selection = m_panels.state(p).selection;
    if (selection.size() == 1)
        m_dialogs->OpenDelete(p, m_panels.row(p, selection.front()));
    else
        m_dialogs->OpenDeleteMany(p, int(selection.size()));
}

void SelectionCommands::MakeDirectory(int p) {
    if (!Passes(kMakeDirectoryChecks, Facts(p, false)))
        return;
    if (m_panels.state(p).onDevice && m_navigation.Sync(p) != 1)
        return;
    if (m_dialogs)
        m_dialogs->OpenCreateDirectory(p);
}

void SelectionCommands::Convert(int p) {
    const SelectionFacts facts = Facts(p, true);
    if (!Passes(kConvertChecks, facts))
        return;
    const int target = OtherPanel(p);
    if (m_dialogs)
        m_dialogs->OpenTransform(p, facts.ddbCount);
    // The converted recordings show in a computer target at once.
    if (!m_panels.state(target).onDevice)
        m_panels.MakeCurrentAndRefill(target, m_panels.state(target).path);
}

void SelectionCommands::ShowSgy(int p) {
    if (!Passes(kShowSgyChecks, Facts(p, true)))
        return;
    m_openSgy(m_panels.row(p, m_panels.state(p).selection.front()).fullPath);
}

} // namespace zarno
