#pragma once
// The one way the program moves the instrument's current directory. A change of directory is
// answered without a status, so the instrument never says that it failed; every step is therefore
// checked against listings: before a step into a directory, a fresh listing of the current one holds
// that name as a directory; after it, the new listing is that of a subdirectory (it lists "..") and
// not the one just left. A walk that cannot verify a step stops with a message and forgets where the
// instrument is, so that nothing is created, opened or deleted in a directory nobody verified.

#include "app/i18n/texts.h"
#include "app/remotedisk/file_entry.h"
#include "app/seams/progress.h"
#include "app/seams/prompts.h"

#include <QString>
#include <QStringList>

#include <tuple>
#include <vector>

namespace zarno {

class CRemoteDevice;

inline constexpr const char* kTextNoSuchDeviceDirectory = QT_TRANSLATE_NOOP("zarno", "Каталог на удаленном диске не найден!");
inline constexpr const char* kTextDirectoryNotEntered = QT_TRANSLATE_NOOP("zarno", "Ошибка при установке каталога!");
inline constexpr const char* kTextDeviceFileNotFound = QT_TRANSLATE_NOOP("zarno", "Файл на удаленном диске не найден!");

class DeviceWalk {
public:
    DeviceWalk(CRemoteDevice& device, Prompts& prompts) : m_device(device), m_prompts(prompts) {}

    // Makes `path` ("z:\", "z:\A\B"; "\" or "/" between names, names in any case) the instrument's
    // current directory and lists it: the listing is left in the device's Listing() for the caller.
    // Each step is verified; `counter` shows the running count of every listing read on the way.
    // 1 on success; 0 when a step could not be verified or an exchange or a listing failed (the
    // user has been told), with the device's listing empty and the current directory unknown.
    int Enter(const QString& path, Progress* counter = nullptr);

    // Deletes the entry with this 12-byte name from the directory at `path`, but only when the
    // instrument is verified to be there and its latest listing holds the entry (walking there first
    // when it is not). 1 deleted, 0 the exchange failed, -1 refused: the walk could not be verified or
    // the entry is not listed there (the user has been told).
    int DeleteListed(const QString& path, const DeviceName& name);

    // The instrument may have moved (a new connection): the next walk starts from the root.
    void Forget();
    // The verified current directory in its normal form ("z:\A\B"), empty when unknown.
    const QString& CurrentPath() const { return m_path; }

    // "z:\A\B" for any spelling of an instrument path (a leading "z:" optional, "." and ".." resolved
    // by name); the names it holds.
    static QString NormalPath(const QString& path);
    static QStringList Names(const QString& path);

private:
    // One entry of the latest listing; two listings are the same when their names, sizes and times are.
    struct Listed {
        DeviceName name;
        uint32_t size;
        qint64 time;
        QString fileName;
        bool directory;
        auto Key() const { return std::tie(name, size, time); }
    };

    bool ListHere(const QStringList& names, Progress* counter);
    bool StepDown(QStringList& names, const QString& name, Progress* counter);
    bool StepUp(QStringList& names, Progress* counter);
    bool GoToRoot(Progress* counter);
    // The listed directory of this name (in any case), or nullptr.
    const Listed* ListedDirectory(const QString& fileName) const;
    bool SameListing(const std::vector<Listed>& other) const;
    bool Refuse(const char* text);

    CRemoteDevice& m_device;
    Prompts& m_prompts;
    QString m_path;
    std::vector<Listed> m_listed; // the latest listing, sorted by name
};

} // namespace zarno
