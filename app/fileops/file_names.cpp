#include "app/fileops/file_names.h"

#include "app/filemanager/panel_host.h"

namespace zarno {

namespace {
bool HasOnlyExtension(const QString& name, const char* extension) {
    return name.size() > 3 && name.indexOf(QLatin1Char('.')) == name.size() - 4 &&
           name.right(3).compare(QLatin1String(extension), Qt::CaseInsensitive) == 0;
}
} // namespace

bool IsPlainFileName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(u'\0'));
}

QString LocalTargetPath(const QString& directory, const QString& name) {
    return IsPlainFileName(name) ? JoinPanelPath(directory, name) : QString();
}

bool IsSgyTargetName(const QString& name) {
    return HasOnlyExtension(name, "sgy");
}

bool IsDdbFileName(const QString& name) {
    return HasOnlyExtension(name, "ddb");
}

} // namespace zarno
