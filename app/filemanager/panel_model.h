#pragma once
// A file panel's rows as a table model (QtCore only): one owned CFileEntry per row, the four columns
// "Имя файла", "Тип", "Размер", "Изменен", the panel's sort order. The list widget shows it; the file
// manager fills and sorts it. Icons come from a callback so that the model needs no widget code.

#include "app/filemanager/panel_host.h"
#include "app/remotedisk/file_entry.h"

#include <QAbstractTableModel>
#include <QItemSelectionModel>
#include <QMetaType>
#include <QString>
#include <QVariant>

#include <functional>
#include <list>
#include <memory>
#include <vector>

namespace zarno {

enum PanelColumn : int { kColumnName = 0, kColumnType = 1, kColumnSize = 2, kColumnChanged = 3 };

// Qt::UserRole of any column gives the row's entry as a `const CFileEntry*` (valid until the panel is
// refilled).
constexpr int kEntryRole = Qt::UserRole;

// The icon wanted for a row. Device rows: the panel's own directory or file icon. Computer rows: the
// icon of `path`, the entry's full path, or for the ".." row the panel's current directory.
struct PanelIconRequest {
    bool onDevice = false;
    bool isDirectory = false;
    QString path;
};
// Returns what Qt::DecorationRole of column 0 gives (a QIcon from the GUI), or an empty QVariant.
using PanelIconProvider = std::function<QVariant(const PanelIconRequest&)>;

// The column's default width: client width / 20 times 8, 2, 3 or 6 (integer division).
int DefaultColumnWidth(int column, int clientWidth);
// The saved width when it is not 0, else the default.
int ColumnWidth(const PanelState& state, int column, int clientWidth);
// " %d/%m/%Y %H:%M:%S" of the time's own calendar fields (no time-zone conversion); empty for an
// invalid time.
QString FormatChangeTime(const QDateTime& time);

class PanelModel : public QAbstractTableModel {
public:
    explicit PanelModel(QObject* parent = nullptr);
    ~PanelModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // DisplayRole: title, type text, size in decimal, change time; TextAlignmentRole: left, size right;
    // DecorationRole (column 0): the icon provider's answer; kEntryRole: the entry.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The row's entry; nullptr outside the rows.
    const CFileEntry* entry(int row) const;
    bool onDevice() const { return m_onDevice; }
    const QString& path() const { return m_path; }
    // The count the panel header shows (ShownCount of computer_entries.h).
    int shownCount() const;

    void setIconProvider(PanelIconProvider provider);

    // Replaces the rows with the process's current directory; `panelPath` is the panel's path (the
    // current directory as the panel shows it).
    void FillFromDirectory(const QString& panelPath, int32_t sortMode);
    // Takes over every entry of the instrument's listing (which is left empty).
    void FillFromDevice(std::list<std::unique_ptr<CFileEntry>>& listing, const QString& panelPath,
                        int32_t sortMode);
    // Replaces the rows with these, sorted.
    void SetRows(std::vector<std::unique_ptr<CFileEntry>> rows, bool onDevice, const QString& panelPath,
                 int32_t sortMode);
    void SortRows(int32_t sortMode);
    void Clear();

    // The rows that "Выделить все" selects: every row that is not a directory.
    std::vector<int> FileRows() const;
    // Selects those rows (whole rows) and leaves the others as they were.
    void SelectAllFiles(QItemSelectionModel& selection) const;

private:
    std::vector<std::unique_ptr<CFileEntry>> m_rows;
    bool m_onDevice = false;
    QString m_path;
    PanelIconProvider m_iconProvider;
};

} // namespace zarno

Q_DECLARE_METATYPE(const zarno::CFileEntry*)
