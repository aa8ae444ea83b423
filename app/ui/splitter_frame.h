#pragma once
// The file-manager window: an MDI child, always maximised and without a close box, holding two
// columns (left panel 0, right panel 1), each with the panel header, the path line and the file
// list. The outer bar can be dragged and its position is remembered; the inner bars cannot.

#include <QMdiSubWindow>
#include <QSplitter>

#include <array>

namespace zarno {

class CMainFrame;
class CControlForm;
class CPathForm;
class CListFileView;

// A splitter whose bars ignore the mouse: the panel header, path line and list keep their heights.
class CFixedSplitter : public QSplitter {
    Q_OBJECT
public:
    using QSplitter::QSplitter;

protected:
    QSplitterHandle* createHandle() override;
};

// The outer splitter: reports the bar's position when the user lets it go.
class CReportingSplitter : public QSplitter {
    Q_OBJECT
public:
    using QSplitter::QSplitter;

signals:
    void barReleased(int position);
    // After the splitter took its new size (the frame's client width).
    void widthChanged(int width);

protected:
    QSplitterHandle* createHandle() override;
    void resizeEvent(QResizeEvent* event) override;
};

class CSplitterFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit CSplitterFrame(CMainFrame& mainFrame);

    CReportingSplitter* outerSplitter() const { return m_outer; }
    CFixedSplitter* innerSplitter(int column) const { return m_inner[size_t(column)]; }
    // The left column as laid out.
    int leftColumnWidth() const;
    // The width asked for (a saved position, a drag, a scaled width); it is laid out within what
    // both columns' controls need, and kept as asked, so that a wider window gives it back.
    void setLeftColumnWidth(int width);
    int requestedLeftColumnWidth() const { return m_nLeftWidth; }
    // The narrowest a column may be laid out: what its header's controls need.
    int columnMinimum(int column) const;
    bool isShown() const { return m_bShown; }
    int lastWidth() const { return m_nLastWidth; }

    // The window commands.
    void SwitchPanel();            // 32783
    void OpenDriveList(int panel); // 32804, 32805
    void ToggleManager();          // 32808
    void Cascade();                // 32810
    void Tile();                   // 32811
    void NextWindow();             // 32817

    // The file-manager window closes only with the program.
    void allowClose() { m_closeAllowed = true; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* createColumn(int panel);
    void clientWidthChanged(int width);

    CMainFrame& m_main;
    CReportingSplitter* m_outer = nullptr;
    std::array<CFixedSplitter*, 2> m_inner{};
    int m_nLastWidth = 0;
    bool m_bShown = false;
    // The column takes its starting width once the window has its real size; only later changes
    // of the width scale it.
    bool m_bLaidOut = false;
    int m_nLeftWidth = 0; // the column's width as last set or dragged
    bool m_closeAllowed = false;
};

} // namespace zarno
