#include "app/filemanager/panel_model.h"

#include "app/filemanager/computer_entries.h"
#include "app/filemanager/panel_sort.h"
#include "app/i18n/texts.h"

#include <QItemSelection>

#include <unordered_map>

namespace zarno {

namespace {
constexpr int kWidthParts[kPanelColumns] = {8, 2, 3, 6};

const char* const kHeaders[kPanelColumns] = {QT_TRANSLATE_NOOP("zarno", "Имя файла"), QT_TRANSLATE_NOOP("zarno", "Тип"), QT_TRANSLATE_NOOP("zarno", "Размер"), QT_TRANSLATE_NOOP("zarno", "Изменен")};
} // namespace

int DefaultColumnWidth(int column, int clientWidth) {
    if (column < 0 || column >= kPanelColumns)
        return 0;
    return clientWidth / 20 * kWidthParts[column];
}

int ColumnWidth(const PanelState& state, int column, int clientWidth) {
    if (column < 0 || column >= kPanelColumns)
        return 0;
    const int32_t saved = state.columnWidths[size_t(column)];
    return saved != 0 ? saved : DefaultColumnWidth(column, clientWidth);
}

QString FormatChangeTime(const QDateTime& time) {
    if (!time.isValid())
        return {};
    const QDate d = time.date();
    const QTime t = time.time();
    return QString::asprintf(" %02d/%02d/%04d %02d:%02d:%02d", d.day(), d.month(), d.year(), t.hour(),
                             t.minute(), t.second());
}

PanelModel::PanelModel(QObject* parent) : QAbstractTableModel(parent) {}

PanelModel::~PanelModel() = default;

int PanelModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PanelModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kPanelColumns;
}

const CFileEntry* PanelModel::entry(int row) const {
    return row >= 0 && row < int(m_rows.size()) ? m_rows[size_t(row)].get() : nullptr;
}

QVariant PanelModel::data(const QModelIndex& index, int role) const {
    const CFileEntry* e = index.isValid() ? entry(index.row()) : nullptr;
    if (!e || index.column() < 0 || index.column() >= kPanelColumns)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case kColumnName:
            return e->title;
        case kColumnType:
            return e->typeText;
        case kColumnSize:
            return QString::number(e->size);
        default:
            return FormatChangeTime(e->lastChange);
        }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            Qt::Alignment(index.column() == kColumnSize ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    case Qt::DecorationRole: {
        if (index.column() != kColumnName || !m_iconProvider)
            return {};
        PanelIconRequest request;
        request.onDevice = m_onDevice;
        request.isDirectory = e->isDirectory;
        request.path = !m_onDevice && IsParentRow(*e) ? m_path : e->fullPath;
        return m_iconProvider(request);
    }
    case kEntryRole:
        return QVariant::fromValue(e);
    default:
        return {};
    }
}

QVariant PanelModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kPanelColumns)
        return {};
    if (role == Qt::DisplayRole)
        return Translated(kHeaders[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(section == kColumnSize ? Qt::AlignRight : Qt::AlignLeft) |
                                   Qt::AlignVCenter);
    return {};
}

int PanelModel::shownCount() const {
    return ShownCount(m_path, m_rows);
}

void PanelModel::setIconProvider(PanelIconProvider provider) {
    m_iconProvider = std::move(provider);
    if (!m_rows.empty())
        emit dataChanged(index(0, kColumnName), index(int(m_rows.size()) - 1, kColumnName),
                         {Qt::DecorationRole});
}

void PanelModel::FillFromDirectory(const QString& panelPath, int32_t sortMode) {
    SetRows(ListCurrentDirectory(), false, panelPath, sortMode);
}

void PanelModel::FillFromDevice(std::list<std::unique_ptr<CFileEntry>>& listing, const QString& panelPath,
                                int32_t sortMode) {
    std::vector<std::unique_ptr<CFileEntry>> rows;
    rows.reserve(listing.size());
    for (auto& e : listing)
        rows.push_back(std::move(e));
    listing.clear();
    SetRows(std::move(rows), true, panelPath, sortMode);
}

void PanelModel::SetRows(std::vector<std::unique_ptr<CFileEntry>> rows, bool onDevice,
                         const QString& panelPath, int32_t sortMode) {
    SortEntries(rows, sortMode);
    beginResetModel();
    m_rows = std::move(rows);
    m_onDevice = onDevice;
    m_path = panelPath;
    endResetModel();
}

void PanelModel::SortRows(int32_t sortMode) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Selected rows stay selected: every persistent index follows its entry to the entry's new row.
    const QModelIndexList before = persistentIndexList();
    std::vector<const CFileEntry*> entries;
    entries.reserve(size_t(before.size()));
    for (const QModelIndex& i : before)
        entries.push_back(entry(i.row()));
    SortEntries(m_rows, sortMode);
    std::unordered_map<const CFileEntry*, int> rowOf;
    for (size_t r = 0; r < m_rows.size(); ++r)
        rowOf.emplace(m_rows[r].get(), int(r));
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const auto found = rowOf.find(entries[size_t(i)]);
        after.push_back(found == rowOf.end() ? QModelIndex() : index(found->second, before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void PanelModel::Clear() {
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

std::vector<int> PanelModel::FileRows() const {
    std::vector<int> rows;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (!m_rows[i]->isDirectory)
            rows.push_back(int(i));
    return rows;
}

void PanelModel::SelectAllFiles(QItemSelectionModel& selection) const {
    QItemSelection files;
    for (int row : FileRows())
        files.select(index(row, 0), index(row, kPanelColumns - 1));
    selection.select(files, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

} // namespace zarno
