#include "app/dsp/settings_file.h"

#include <QFile>

namespace zarno::dsp {

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
    if (!file.open(QIODevice::ReadOnly))
        return read;
    read.outcome = SettingsRead::Existed;
    read.bytes = file.read(maxBytes);
    return read;
}

bool WriteSettingsFile(const QString& dir, const char* name, const QByteArray& bytes) {
    QFile file(dir + QLatin1String(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

} // namespace zarno::dsp
