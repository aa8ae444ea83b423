#include "app/io/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zarno::io {

namespace {

// Large enough that the calls cost nothing beside the copying, small enough that the disk starts early.
constexpr qint64 kWriteAheadPiece = qint64(8) << 20;

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
    const qsizetype backKeys = back.allKeys().size(); // reads the file, so that status() tells
    if (back.status() != QSettings::NoError || backKeys != keys.size())
        return false;
    for (const QString& key : keys)
        if (back.value(key) != expected.value(key))
            return false;
    return true;
}

// Puts the settings now in path at staged. A file that does not read cleanly (NUL bytes after a
// crash, an unclosed "[" line) is not copied as it stands: QSettings would refuse it for ever after.
// What can be read of it goes into a fresh file instead, so that the next write makes it whole.
bool StageExisting(const QString& path, const QString& staged) {
    if (!QFileInfo::exists(path))
        return true;
    const QString raw = staged + QStringLiteral(".raw");
    if (!QFile::copy(path, raw))
        return false;
    const QSettings old(raw, QSettings::IniFormat);
    const QStringList keys = old.allKeys(); // the file is read on the first question, and only then
    if (old.status() == QSettings::NoError) // does its status tell anything
        return QFile::rename(raw, staged);
    QSettings fresh(staged, QSettings::IniFormat);
    for (const QString& key : keys)
        fresh.setValue(key, old.value(key));
    fresh.sync();
    return fresh.status() == QSettings::NoError;
}

} // namespace

bool WriteSettingsWhole(const QString& path, const std::function<void(QSettings&)>& fill) {
    const QTemporaryDir staging;
    if (!staging.isValid())
        return false;
    const QString staged = staging.filePath(QStringLiteral("staged.ini"));
    const QString copy = staging.filePath(QStringLiteral("copy.ini"));
    if (!StageExisting(path, staged))
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

bool WriteAhead(QIODevice& device, QByteArrayView bytes) {
    auto* const file = qobject_cast<QFileDevice*>(&device);
    if (!file || file->handle() < 0 || !file->flush())
        return device.write(bytes.data(), bytes.size()) == bytes.size();
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 at = file->pos();
        const qint64 n = qMin(kWriteAheadPiece, bytes.size() - done);
        if (file->write(bytes.data() + done, n) != n || !file->flush()) {
            // A short write past a size limit leaves no error on the device: without this, a commit
            // would put the cut file in place of the old one.
            if (auto* const save = qobject_cast<QSaveFile*>(file))
                save->cancelWriting();
            return false;
        }
        // Only a start: a failure to start early is no failure of the write, the final sync tells.
        ::sync_file_range(file->handle(), at, n, SYNC_FILE_RANGE_WRITE);
        done += n;
    }
    return true;
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
