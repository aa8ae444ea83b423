#include "app/link/com_ports.h"

#include <QSettings>

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

namespace zarno {

QString ComDevicePath(const QString& name) {
    const QString key = name.left(4).toUpper();
    const QByteArray variable = "VELNET_" + key.toLatin1();
    if (const char* overridden = std::getenv(variable.constData()); overridden && *overridden)
        return QString::fromLocal8Bit(overridden);
    const QString fallback = key == "COM2" ? "/dev/ttyS1" : "/dev/ttyS0";
    QSettings settings("Mervo", "Common");
    return settings.value("Ports/" + key, fallback).toString();
}

bool ComPortPresent(const QString& name) {
    const QByteArray path = ComDevicePath(name).toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    // Taken by another program (its lock) counts as not present, as an exclusive open would. The
    // line state is the terminal's settings: pseudo-terminals have no modem lines to read.
    termios state{};
    const bool present = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::tcgetattr(fd, &state) == 0;
    ::close(fd);
    return present;
}

} // namespace zarno
