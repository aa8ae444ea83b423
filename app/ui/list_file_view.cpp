#include "app/ui/list_file_view.h"

#include "app/filemanager/panel_sort.h"
#include "app/i18n/texts.h"
#include "app/ui/main_frame.h"

#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <QCoreApplication>

namespace zarno {

namespace {

struct SortItem {
    const char* text;
    int32_t mode;
};
// The order of the "Сортировка" submenu.
const SortItem kSortItems[] = {{QT_TRANSLATE_NOOP("zarno", "По имени"), kSortByName},
                               {QT_TRANSLATE_NOOP("zarno", "По типу"), kSortByType},
                               {QT_TRANSLATE_NOOP("zarno", "По размеру"), kSortBySize},
                               {QT_TRANSLATE_NOOP("zarno", "По дате"), kSortByDate}};

} // namespace

CListFileView::CListFileView(CMainFrame& mainFrame, int panel, QWidget* parent)
    : QWidget(parent), m_main(mainFrame), m_panel(panel), m_stack(new QStackedWidget(this)),
      m_table(new QTableView(m_stack)), m_compact(new QListView(m_stack)) {
    setObjectName(QStringLiteral("CListFileView"));
    PanelModel& model = m_main.files().model(panel);

    m_table->setModel(&model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setShowGrid(true);
    m_table->setWordWrap(false);
    m_table->setSortingEnabled(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->horizontalHeader()->setStretchLastSection(false);
    m_table->setContextMenuPolicy(Qt::NoContextMenu);
    // A click on a column's heading sorts by that column, in the same orders as the context menu.
    m_table->horizontalHeader()->setSectionsClickable(true);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (!m_main.panelsLocked())
            m_main.files().SetSortMode(m_panel, SortModeOfColumn(column));
    });
    connect(m_table->horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        // Only a drag of a column edge counts; a refill of the rows also reports sizes.
        if (!m_applyingWidths && QApplication::mouseButtons() != Qt::NoButton)
            m_userSized = true;
    });

    // The compact display shows the same rows and the same selection, names only.
    m_compact->setModel(&model);
    m_compact->setSelectionModel(m_table->selectionModel());
    m_compact->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Whole rows, as in the report display: the commands take the selected rows.
    m_compact->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_compact->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_compact->setViewMode(QListView::ListMode);
    m_compact->setFlow(QListView::TopToBottom);
    m_compact->setWrapping(true);
    m_compact->setResizeMode(QListView::Adjust);
    m_compact->setContextMenuPolicy(Qt::NoContextMenu);

    m_stack->addWidget(m_table);
    m_stack->addWidget(m_compact);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);
    setFocusProxy(m_table);

    // A refill replaces every row; the cursor is put back where a keyboard user expects it.
    connect(&model, &QAbstractItemModel::modelAboutToBeReset, this, [this, &model] {
        const int row = currentRow();
        const CFileEntry* entry = model.entry(row);
        m_cursorBefore = {model.path(), entry ? entry->fileName : QString(), row};
    });
    connect(&model, &QAbstractItemModel::modelReset, this,
            [this, &model] { setCurrentRow(CursorRowAfterRefill(model, m_cursorBefore)); });

    for (QAbstractItemView* view : std::initializer_list<QAbstractItemView*>{m_table, m_compact}) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
        connect(view, &QAbstractItemView::doubleClicked, this,
                [this](const QModelIndex& index) { openRow(index.row()); });
    }
}

void CListFileView::toggleDisplay() {
    m_display = m_display == 0 ? 1 : 0;
    m_stack->setCurrentIndex(m_display);
    setFocusProxy(m_display == 0 ? static_cast<QWidget*>(m_table) : m_compact);
}

std::vector<int> CListFileView::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CListFileView::applyColumnWidths() {
    // This widget's own width: the table inside takes its size only after this one's resize.
    const int clientWidth = std::max(width() - 2 * m_table->frameWidth(), 0);
    const PanelState& state = m_main.files().panelState(m_panel);
    m_applyingWidths = true;
    for (int column = 0; column < kPanelColumns; ++column) {
        // A default share too narrow for its heading in this platform's fonts grows to hold it; a
        // width the user set stays as set.
        const int width = ColumnWidth(state, column, clientWidth);
        const bool isDefault = state.columnWidths[size_t(column)] == 0;
        const int heading = m_table->horizontalHeader()->sectionSizeHint(column);
        m_table->setColumnWidth(column, isDefault ? std::max(width, heading) : width);
    }
    m_applyingWidths = false;
}

void CListFileView::storeColumnWidths() {
    PanelState& state = m_main.files().panel(m_panel);
    for (int column = 0; column < kPanelColumns; ++column)
        state.columnWidths[size_t(column)] = m_table->columnWidth(column);
}

void CListFileView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The default widths are shares of the list's width, so they follow it until the user sizes a
    // column.
    if (!m_userSized)
        applyColumnWidths();
}

void CListFileView::openRow(int row) {
    if (row < 0 || m_main.panelsLocked())
        return;
    m_main.files().OpenItem(m_panel, row);
}

void CListFileView::openFirstSelected() {
    const std::vector<int> rows = selectedRows();
    // Nothing selected (the cursor put on a row after a directory change): the cursor's row.
    openRow(rows.empty() ? currentRow() : rows.front());
}

void CListFileView::selectAllFiles() {
    m_main.files().model(m_panel).SelectAllFiles(*m_table->selectionModel());
}

int CListFileView::currentRow() const {
    return m_table->selectionModel()->currentIndex().row();
}

void CListFileView::setCurrentRow(int row) {
    QAbstractItemModel* model = m_table->model();
    if (row < 0 || row >= model->rowCount())
        return;
    // The cursor only: what is selected stays as it is, so that "Выделить все" and the commands
    // never take a row the user did not choose.
    m_table->selectionModel()->setCurrentIndex(model->index(row, 0), QItemSelectionModel::NoUpdate);
    shownView()->scrollTo(model->index(row, 0));
}

QAbstractItemView* CListFileView::shownView() const {
    return m_display == 0 ? static_cast<QAbstractItemView*>(m_table) : m_compact;
}

void CListFileView::toggleCurrentSelection() {
    const QModelIndex current = m_table->selectionModel()->currentIndex();
    if (current.isValid())
        m_table->selectionModel()->select(current, QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
}

void CListFileView::moveCursorDown() {
    const QModelIndex below = m_table->model()->index(currentRow() + 1, 0);
    if (below.isValid())
        m_table->selectionModel()->setCurrentIndex(below, QItemSelectionModel::NoUpdate);
}

void CListFileView::moveCursorTo(int row) {
    const QModelIndex index = m_table->model()->index(row, 0);
    if (!index.isValid())
        return;
    m_table->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    shownView()->scrollTo(index);
}

void CListFileView::reread() {
    FileManager& files = m_main.files();
    if (files.panelState(m_panel).onDevice)
        files.EnterDeviceDirectory(m_panel, QString()); // falls back to "/" itself when it fails
    else
        files.RefillComputerPanel(m_panel);
}

bool CListFileView::handleKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    if (m_main.panelsLocked())
        return false;
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        openFirstSelected();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (mods & ~Qt::ShiftModifier)
            return false;
        m_main.runCommand(kCmdSwitchPanel);
        return true;
    case Qt::Key_Backspace:
        m_main.files().GoUp(m_panel);
        return true;
    case Qt::Key_Insert:
        if (mods != Qt::NoModifier)
            return false; // Ctrl+Insert and Shift+Insert keep their usual meanings
        toggleCurrentSelection();
        moveCursorDown();
        return true;
    case Qt::Key_Space:
        if (mods != Qt::NoModifier)
            return false;
        toggleCurrentSelection();
        return true;
    case Qt::Key_R:
        if (mods != Qt::ControlModifier)
            return false;
        reread();
        return true;
    case Qt::Key_A:
        // All the files and nothing else: not "..", which no command takes, nor a row the cursor
        // left selected.
        if (mods != Qt::ControlModifier)
            return false;
        m_table->clearSelection();
        selectAllFiles();
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        // The first and the last row, as the arrows move there (a table's own keys go to its
        // first and last column).
        if (mods != Qt::NoModifier)
            return false;
        moveCursorTo(key.key() == Qt::Key_Home ? 0 : m_table->model()->rowCount() - 1);
        return true;
    default:
        return false;
    }
}

QMenu* CListFileView::buildContextMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    QMenu* sort = menu->addMenu(QCoreApplication::translate("zarno", "Сортировка"));
    auto* group = new QActionGroup(sort);
    const int32_t current = m_main.files().panelState(m_panel).sortMode;
    for (const SortItem& item : kSortItems) {
        QAction* a = sort->addAction(Translated(item.text));
        a->setCheckable(true);
        a->setChecked(item.mode == current);
        group->addAction(a);
        const int32_t mode = item.mode;
        connect(a, &QAction::triggered, this, [this, mode] { m_main.files().SetSortMode(m_panel, mode); });
    }
    menu->addSeparator();
    // Each command leaves the keys with this panel's list, whatever its dialogs and locks did.
    const auto command = [this](void (FileManager::*run)(int)) {
        return [this, run] {
            (m_main.files().*run)(m_panel);
            m_main.focusActiveList();
        };
    };
    connect(menu->addAction(QCoreApplication::translate("zarno", "Копирование")), &QAction::triggered, this,
            command(&FileManager::CopySelection));
    connect(menu->addAction(QCoreApplication::translate("zarno", "Создание каталога")), &QAction::triggered, this,
            command(&FileManager::MakeDirectoryInPanel));
    connect(menu->addAction(QCoreApplication::translate("zarno", "Стирание")), &QAction::triggered, this,
            command(&FileManager::DeleteSelection));
    connect(menu->addAction(QCoreApplication::translate("zarno", "Преобразование DDB в SGY")), &QAction::triggered, this,
            command(&FileManager::ConvertSelection));
    menu->addSeparator();
    connect(menu->addAction(QCoreApplication::translate("zarno", "Выделить все")), &QAction::triggered, this,
            &CListFileView::selectAllFiles);
    return menu;
}

void CListFileView::showContextMenu(const QPoint& globalPos) {
    if (m_main.panelsLocked())
        return;
    QMenu* menu = buildContextMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // Centred on the mouse horizontally.
    menu->popup(globalPos - QPoint(menu->sizeHint().width() / 2, 0));
}

bool CListFileView::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
        emit focused();
        break;
    case QEvent::ContextMenu:
        // The right button has already selected the row under the mouse.
        showContextMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    case QEvent::KeyPress:
        if (handleKey(*static_cast<QKeyEvent*>(event)))
            return true;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zarno
