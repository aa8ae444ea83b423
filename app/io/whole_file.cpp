#include "app/io/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cerrno>
#include <unistd.h>

namespace zarno::io {

namespace {

// A file system that cannot sync (a pipe, some special files) answers EINVAL or EROFS; that is not
// a lost write. Anything else (EIO, ENOSPC on delayed allocation) is.
bool Synced(QSaveFile& file) {
    const int fd = file.handle();
    if (fd < 0)
        return true;
    int rc;
    do {
        rc = ::fsync(fd);
    } while (rc != 0 && errno == EINTR);
    return rc == 0 || errno == EINVAL || errno == EROFS;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether the settings file at path holds exactly the keys and values of expected. The file is read
// under a name no QSettings of this process has used, so that nothing comes from Qt's cache of
// settings files.
bool ReadsBackAs(const QString& path, const QSettings& expected) {
    const QSettings back(path, QSettings::IniFormat);
    const QStringList keys = expected.allKeys();
    if (back.status() != QSettings::NoError || back.allKeys().size() != keys.size())
        return false;
    for (const QString& key : keys)
        if (back.value(key) != expected.value(key))
            return false;
    return true;
}

} // namespace

bool WriteSettingsWhole(const QString& path, const std::function<void(QSettings&)>& fill) {
    const QTemporaryDir staging;
    if (!staging.isValid())
        return false;
    const QString staged = staging.filePath(QStringLiteral("staged.ini"));
    const QString copy = staging.filePath(QStringLiteral("copy.ini"));
    if (QFileInfo::exists(path) && !QFile::copy(path, staged))
        return false;
    QByteArray bytes;
    {
        QSettings settings(staged, QSettings::IniFormat);
        fill(settings);
        settings.sync();
        bytes = ReadAll(staged);
        if (settings.status() != QSettings::NoError ||
            WriteWholeFile(copy, bytes) != WholeFileResult::Written || !ReadsBackAs(copy, settings))
            return false;
    }
    return QDir().mkpath(QFileInfo(path).absolutePath()) &&
           WriteWholeFile(path, bytes) == WholeFileResult::Written;
}

bool CommitWholeFile(QSaveFile& file) {
    if (!file.isOpen())
        return false;
    const bool written = file.error() == QFileDevice::NoError && file.flush() &&
                         file.error() == QFileDevice::NoError && Synced(file);
    if (!written) {
        // commit() after cancelWriting() removes the temporary file and leaves the target alone.
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

WholeFileResult WriteWholeFile(const QString& path, QByteArrayView bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return WholeFileResult::NotCreated;
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        file.cancelWriting();
        file.commit();
        return WholeFileResult::WriteFailed;
    }
    return CommitWholeFile(file) ? WholeFileResult::Written : WholeFileResult::WriteFailed;
}

} // namespace zarno::io
