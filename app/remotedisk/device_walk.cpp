#include "app/remotedisk/device_walk.h"

#include "app/i18n/texts.h"
#include "app/remotedisk/remote_device.h"
#include "app/shell/drive_names.h"

#include <algorithm>
#include <cstring>

namespace zarno {

namespace {
const QString kParent = QStringLiteral("..");

QString PathOf(const QStringList& names) {
    return kDeviceDrive + names.join(QLatin1Char('\\'));
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

QStringList DeviceWalk::Names(const QString& path) {
    QString p = path;
    p.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (IsDevicePath(p))
        p = p.mid(kDeviceDriveName.size());
    QStringList names;
    for (const QString& part : p.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == kParent) {
            if (!names.isEmpty())
                names.removeLast();
            continue;
        }
        names << part;
    }
    return names;
}

QString DeviceWalk::NormalPath(const QString& path) {
    return PathOf(Names(path));
}

void DeviceWalk::Forget() {
    m_path.clear();
    m_listed.clear();
}

bool DeviceWalk::Refuse(const char* text) {
    m_prompts.message(Translated(text), QString::fromUtf8(kAppCaption), PromptIcon::Stop);
    Forget();
    return false;
}

int DeviceWalk::Enter(const QString& path, Progress* counter) {
    const QStringList target = Names(path);
    const QStringList here = Names(m_path);
    qsizetype common = 0;
    while (common < here.size() && common < target.size() && SameName(here[common], target[common]))
        ++common;

    QStringList names;
    bool ok = false;
    if (!m_path.isEmpty() && (common > 0 || here.isEmpty())) {
        // From where the instrument is: a fresh listing first, so that every step starts verified.
        names = here;
        ok = ListHere(names, counter);
        while (ok && names.size() > common)
            ok = StepUp(names, counter);
    } else {
        ok = GoToRoot(counter);
    }
    for (qsizetype i = names.size(); ok && i < target.size(); ++i)
        ok = StepDown(names, target[i], counter);
    if (!ok) {
        Forget();
        m_device.Listing().clear();
        return 0;
    }
    return 1;
}

// Lists the current directory, which the walk takes to be `names`; the root lists no "..", a
// subdirectory does.
bool DeviceWalk::ListHere(const QStringList& names, Progress* counter) {
    m_path.clear();
    m_device.Listing().clear();
    if (m_device.ReadDirectory(PathOf(names), counter) != kCommandDone)
        return false;
    m_listed.clear();
    for (const auto& e : m_device.Listing())
        m_listed.push_back({e->deviceName, e->size, e->lastChange.isValid() ? e->lastChange.toSecsSinceEpoch() : -1,
                            e->fileName, e->isDirectory});
    std::sort(m_listed.begin(), m_listed.end(), [](const Listed& a, const Listed& b) { return a.Key() < b.Key(); });
    const bool listsParent = ListedDirectory(kParent) != nullptr;
    if (listsParent == names.isEmpty())
        return Refuse(kTextDirectoryNotEntered);
    m_path = PathOf(names);
    return true;
}

bool DeviceWalk::GoToRoot(Progress* counter) {
    Forget();
    if (m_device.ChangeDirectory(kDeviceDrive) != kCommandDone)
        return false;
    return ListHere({}, counter);
}

bool DeviceWalk::StepDown(QStringList& names, const QString& name, Progress* counter) {
    const Listed* listed = ListedDirectory(name);
    if (!listed || name == kParent)
        return Refuse(kTextNoSuchDeviceDirectory);
    const QString listedName = listed->fileName; // the instrument's own spelling
    const std::vector<Listed> before = m_listed;
    m_path.clear();
    if (m_device.ChangeDirectory(listedName) != kCommandDone)
        return false;
    names << listedName;
    if (!ListHere(names, counter))
        return false;
    // The listing of the directory just left, read again: the instrument did not move.
    if (SameListing(before))
        return Refuse(kTextDirectoryNotEntered);
    return true;
}

bool DeviceWalk::StepUp(QStringList& names, Progress* counter) {
    const QString left = names.takeLast();
    const std::vector<Listed> before = m_listed;
    m_path.clear();
    if (m_device.ChangeDirectory(kParent) != kCommandDone)
        return false;
    if (!ListHere(names, counter))
        return false;
    if (SameListing(before) || !ListedDirectory(left))
        return Refuse(kTextDirectoryNotEntered);
    return true;
}

const DeviceWalk::Listed* DeviceWalk::ListedDirectory(const QString& fileName) const {
    for (const Listed& e : m_listed)
        if (e.directory && SameName(e.fileName, fileName))
            return &e;
    return nullptr;
}

bool DeviceWalk::SameListing(const std::vector<Listed>& other) const {
    return std::equal(m_listed.begin(), m_listed.end(), other.begin(), other.end(),
                      [](const Listed& a, const Listed& b) { return a.Key() == b.Key(); });
}

int DeviceWalk::DeleteListed(const QString& path, const DeviceName& name) {
    if (m_path.isEmpty() || !SameName(m_path, NormalPath(path))) {
        if (Enter(path) != 1)
            return -1;
        m_device.Listing().clear();
    }
    const auto it = std::find_if(m_listed.begin(), m_listed.end(), [&](const Listed& e) { return e.name == name; });
    if (it == m_listed.end() || it->fileName == kParent) {
        m_prompts.message(Translated(kTextDeviceFileNotFound), QString::fromUtf8(kAppCaption), PromptIcon::Stop);
        return -1;
    }
    if (m_device.DeleteRemoteFile(name) != kCommandDone)
        return 0;
    m_listed.erase(it);
    return 1;
}

} // namespace zarno
