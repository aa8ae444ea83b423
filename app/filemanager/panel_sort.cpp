#include "app/filemanager/panel_sort.h"

#include "app/filemanager/computer_entries.h"
#include "app/filemanager/panel_model.h"

#include <algorithm>

namespace zarno {

namespace {
constexpr int kTypeKeyWidth = 20;

int Sign(qint64 v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

int CompareTimes(const QDateTime& a, const QDateTime& b) {
    if (!a.isValid() || !b.isValid())
        return int(a.isValid()) - int(b.isValid());
    return a < b ? -1 : (b < a ? 1 : 0);
}
} // namespace

QString TypeSortKey(const CFileEntry& entry) {
    if (entry.isDirectory) {
        const QString key = QStringLiteral("\x01   ");
        return IsParentRow(entry) ? key : key + entry.fileName;
    }
    const qsizetype pad = kTypeKeyWidth - 2 * entry.typeText.size();
    return entry.typeText + (pad > 0 ? QString(pad, QLatin1Char(' ')) : QString()) + entry.fileName;
}

QString NameSortKey(const CFileEntry& entry) {
    if (entry.isDirectory) {
        const QString key = QStringLiteral("    ");
        return IsParentRow(entry) ? key : key + entry.fileName;
    }
    return entry.fileName;
}

int CompareEntries(const CFileEntry& a, const CFileEntry& b, int32_t sortMode) {
    switch (sortMode) {
    case kSortByName:
        return Sign(NameSortKey(a).compare(NameSortKey(b), Qt::CaseInsensitive));
    case kSortBySize:
        // Compared as the unsigned sizes they are: a signed 32-bit difference would put files of
        // more than 2 GB before the small ones.
        return Sign(qint64(a.size) - qint64(b.size));
    case kSortByDate:
        return CompareTimes(a.lastChange, b.lastChange);
    case kSortByType:
    default:
        return Sign(TypeSortKey(a).compare(TypeSortKey(b), Qt::CaseInsensitive));
    }
}

void SortEntries(std::vector<std::unique_ptr<CFileEntry>>& rows, int32_t sortMode) {
    std::stable_sort(rows.begin(), rows.end(), [sortMode](const auto& a, const auto& b) {
        return CompareEntries(*a, *b, sortMode) < 0;
    });
}

int32_t SortModeOfColumn(int column) {
    switch (column) {
    case kColumnType:
        return kSortByType;
    case kColumnSize:
        return kSortBySize;
    case kColumnChanged:
        return kSortByDate;
    default:
        return kSortByName;
    }
}

} // namespace zarno
