#include "app/io/file_identity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace zarno::io {

namespace {

std::optional<struct stat> StatusOf(const QString& path) {
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return st;
}

// Where a path that may not exist yet would be made: its folder resolved as far as it exists.
QString ResolvedPlace(const QString& path) {
    const QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

} // namespace

bool SameFile(const QString& a, const QString& b) {
    const auto first = StatusOf(a);
    const auto second = StatusOf(b);
    if (first && second)
        return first->st_dev == second->st_dev && first->st_ino == second->st_ino;
    if (first || second)
        return false; // one exists and the other does not
    return ResolvedPlace(a) == ResolvedPlace(b);
}

std::optional<QString> InputAt(const QString& output, const QStringList& inputs) {
    for (const QString& input : inputs)
        if (SameFile(output, input))
            return input;
    return std::nullopt;
}

InputKind KindOfInput(const QString& path) {
    const auto st = StatusOf(path);
    if (!st)
        return InputKind::Missing;
    return S_ISREG(st->st_mode) ? InputKind::Regular : InputKind::NotRegular;
}

} // namespace zarno::io
