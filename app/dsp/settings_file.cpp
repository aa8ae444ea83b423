#include "app/dsp/settings_file.h"

#include "app/io/whole_file.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zarno::dsp {

namespace {

// Opens path for reading only when it is a regular file. The open itself does not wait (a FIFO of
// that name would otherwise block until a writer came), and the type is checked on the opened file,
// so a name swapped in between cannot slip through.
bool OpenRegularFile(QFile& file) {
    const QByteArray path = QFile::encodeName(file.fileName());
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

} // namespace

QString DirectoryOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

SettingsRead ReadSettingsFile(const QString& dir, const char* name, qint64 maxBytes, MissingFile missing) {
    SettingsRead read;
    QFile file(dir + QLatin1String(name));
    if (!file.exists()) {
        if (missing == MissingFile::Create && file.open(QIODevice::WriteOnly))
            read.outcome = SettingsRead::Created;
        return read;
    }
    if (!OpenRegularFile(file))
        return read;
    read.outcome = SettingsRead::Existed;
    read.bytes = file.read(maxBytes);
    return read;
}

bool WriteSettingsFile(const QString& dir, const char* name, const QByteArray& bytes) {
    return io::WriteWholeFile(dir + QLatin1String(name), bytes) == io::WholeFileResult::Written;
}

} // namespace zarno::dsp
