#pragma once
// Real failing writes for the all-or-nothing tests.
//
// SmallTmpfs mounts a tmpfs of a few KiB on a fresh directory and can fill it up to a few pages:
// writes into it then fail with ENOSPC exactly as on a full disk. Mounting needs root (CI runs as
// root); a test that gets an unmounted one skips itself and says why.
//
// FileSizeLimit lowers the file size limit of this process (RLIMIT_FSIZE, SIGXFSZ ignored), so that
// writes past the limit fail with EFBIG for any user. Set it after starting child processes and keep
// its scope short: it applies to every file the process writes.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace zarno::testing {

class SmallTmpfs {
public:
    explicit SmallTmpfs(int kib = 64) {
        if (geteuid() != 0) {
            m_why = QStringLiteral("mounting a small tmpfs needs root; this case runs in CI");
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(kib) + "k";
        if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) !=
            0) {
            m_why = QStringLiteral("cannot mount a tmpfs here: ") + QString::fromLocal8Bit(strerror(errno));
            return;
        }
        m_mounted = true;
    }
    ~SmallTmpfs() {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool mounted() const { return m_mounted; }
    QString why() const { return m_why; }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    QString path() const { return m_dir.path(); }

    qint64 freeBytes() const {
        struct statvfs st {};
        if (::statvfs(QFile::encodeName(m_dir.path()).constData(), &st) != 0)
            return -1;
        return qint64(st.f_bavail) * qint64(st.f_frsize);
    }

    // Fills the file system with a ballast file until only `leave` bytes (whole pages) are free.
    bool fillLeaving(qint64 leave) {
        QFile ballast(filePath(QStringLiteral(".ballast")));
        if (!ballast.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            return false;
        const QByteArray page(4096, '\x42');
        while (freeBytes() > leave)
            if (ballast.write(page) != page.size())
                return false;
        return freeBytes() == leave;
    }

    // The entries a test may expect to see, the ballast left out.
    QStringList entries() const {
        QStringList names = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(QStringLiteral(".ballast"));
        return names;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_handler)(int) = SIG_DFL;
};

} // namespace zarno::testing
