#pragma once
// A file panel's list: the panel's rows (the file manager's PanelModel) in the report display with
// its four columns, or in the compact list display; multiple selection, grid lines, whole-row
// selection; a double click or Enter opens the row; the right button opens the panel's menu.

#include "app/filemanager/panel_cursor.h"

#include <QWidget>

#include <vector>

class QAbstractItemView;
class QKeyEvent;
class QListView;
class QMenu;
class QStackedWidget;
class QTableView;

namespace zarno {

class CMainFrame;

class CListFileView : public QWidget {
    Q_OBJECT
public:
    CListFileView(CMainFrame& mainFrame, int panel, QWidget* parent = nullptr);
    int panelIndex() const { return m_panel; }

    QTableView* table() const { return m_table; }
    QListView* compactList() const { return m_compact; }
    // 0 report display (columns), 1 compact list display.
    int display() const { return m_display; }
    void toggleDisplay();

    // The selected rows in the list's order.
    std::vector<int> selectedRows() const;
    // The column widths of the panel state (0: the default for this width of the list).
    void applyColumnWidths();
    // The current widths into the panel state, to be saved at exit.
    void storeColumnWidths();

    // The panel's pop-up menu (built afresh, with the check mark on the current order).
    QMenu* buildContextMenu(QWidget* parent);
    // Opens the row at that index, or on Enter the first selected row (the current row when none is
    // selected).
    void openRow(int row);
    void openFirstSelected();
    // "Выделить все": every file row selected, directories as they were.
    void selectAllFiles();
    // The current row (the keyboard's place), -1 when there is none.
    int currentRow() const;
    // Puts the cursor on this row; the selection stays as it is.
    void setCurrentRow(int row);

signals:
    void focused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showContextMenu(const QPoint& globalPos);
    // The keys of a two-panel file manager; true when the key was one of them.
    bool handleKey(const QKeyEvent& key);
    // Insert and Space: the current row's selection toggled, the rest kept.
    void toggleCurrentSelection();
    // The cursor one row down, the selection as it is.
    void moveCursorDown();
    // The cursor onto `row`, which becomes the one selected, as an arrow key leaves it.
    void moveCursorTo(int row);
    // Ctrl+R: the panel read again from its disk.
    void reread();
    QAbstractItemView* shownView() const;

    CMainFrame& m_main;
    int m_panel;
    QStackedWidget* m_stack;
    QTableView* m_table;
    QListView* m_compact;
    int m_display = 0;
    // Until the user sizes a column, the default widths follow the list's width.
    bool m_userSized = false;
    bool m_applyingWidths = false;
    // The cursor before the rows are replaced, to put it back in the right place afterwards.
    PanelCursor m_cursorBefore;
};

} // namespace zarno
