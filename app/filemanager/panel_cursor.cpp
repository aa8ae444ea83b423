#include "app/filemanager/panel_cursor.h"

#include "app/filemanager/panel_model.h"

#include <algorithm>

namespace zarno {

namespace {

int RowNamed(const PanelModel& model, const QString& name) {
    if (name.isEmpty())
        return -1;
    // Instrument names are FAT names: their case carries no meaning.
    const Qt::CaseSensitivity cs = model.onDevice() ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (int r = 0; r < model.rowCount(); ++r)
        if (model.entry(r)->fileName.compare(name, cs) == 0)
            return r;
    return -1;
}

// Both sides' separators: "/" on the computer, "\" on the instrument.
qsizetype LastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

// The last name of a computer path ("/a/b" gives "b") or of an instrument path ("z:\A\B" gives "B").
QString LastPathName(const QString& path) {
    const qsizetype cut = LastSeparator(path);
    return cut < 0 ? QString() : path.mid(cut + 1);
}

bool SamePath(const QString& a, const QString& b, const PanelModel& model) {
    return a.compare(b, model.onDevice() ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

// True when `child` lies directly inside `parent` ("/a/b" in "/a", "z:\A" in "z:\").
bool IsDirectChild(const QString& child, const QString& parent, const PanelModel& model) {
    const qsizetype cut = LastSeparator(child);
    if (cut < 0 || cut + 1 >= child.size())
        return false;
    QString up = child.left(cut);
    if (SamePath(up, parent, model))
        return true;
    // A root keeps its separator: "/" and "z:\".
    return SamePath(child.left(cut + 1), parent, model);
}

} // namespace

int CursorRowAfterRefill(const PanelModel& model, const PanelCursor& before) {
    const int rows = model.rowCount();
    if (rows == 0)
        return -1;
    if (SamePath(model.path(), before.path, model)) {
        const int named = RowNamed(model, before.fileName);
        if (named >= 0)
            return named;
        return before.row < 0 ? 0 : std::min(before.row, rows - 1);
    }
    if (IsDirectChild(before.path, model.path(), model)) {
        const int cameFrom = RowNamed(model, LastPathName(before.path));
        if (cameFrom >= 0)
            return cameFrom;
    }
    return 0;
}

} // namespace zarno
