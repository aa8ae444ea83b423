#include "app/report/whole_file_write.h"

#include <QSaveFile>

namespace zarno {

bool WriteWholeFile(const QString& path, const std::function<bool(QIODevice&)>& fill) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // A flush that fails (disk full) must not be followed by a commit that looks like success.
    if (!fill(file) || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool WriteWholeFile(const QString& path, const QByteArray& content) {
    return WriteWholeFile(path, [&content](QIODevice& out) { return out.write(content) == content.size(); });
}

} // namespace zarno
