#include "app/ui/splitter_frame.h"

#include "app/filemanager/splitter_scaling.h"
#include "app/ui/control_form.h"
#include "app/ui/list_file_view.h"
#include "app/ui/main_frame.h"
#include "app/ui/path_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QMdiArea>
#include <QMouseEvent>
#include <QSplitterHandle>
#include <QTimer>
#include <QToolBar>

namespace zarno {

namespace {

class FixedHandle : public QSplitterHandle {
public:
    using QSplitterHandle::QSplitterHandle;

protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
};

class ReportingHandle : public QSplitterHandle {
public:
    ReportingHandle(Qt::Orientation orientation, CReportingSplitter* parent)
        : QSplitterHandle(orientation, parent), m_splitter(parent) {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QSplitterHandle::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton)
            emit m_splitter->barReleased(m_splitter->sizes().value(0));
    }

private:
    CReportingSplitter* m_splitter;
};

// Initial heights of the three rows of a column: header, path line, list.
constexpr int kHeaderHeight = 22;
constexpr int kPathHeight = 14;
constexpr int kListHeight = 100;

} // namespace

QSplitterHandle* CFixedSplitter::createHandle() {
    return new FixedHandle(orientation(), this);
}

QSplitterHandle* CReportingSplitter::createHandle() {
    return new ReportingHandle(orientation(), this);
}

void CReportingSplitter::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    emit widthChanged(width());
}

CSplitterFrame::CSplitterFrame(CMainFrame& mainFrame) : m_main(mainFrame) {
    m_main.registerSplitterFrame(this);
    m_nLastWidth = m_main.settings().m_nWindowWidth / 2;
    m_bShown = true;
    // No system menu: the caption shows no close box, so the user cannot close the file manager.
    setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint |
                   Qt::CustomizeWindowHint);
    setWindowTitle(QString::fromUtf8(kAppCaption));

    m_outer = new CReportingSplitter(Qt::Horizontal, this);
    m_outer->setChildrenCollapsible(false);
    for (int panel = 0; panel < 2; ++panel)
        m_outer->addWidget(createColumn(panel));
    setWidget(m_outer);
    connect(m_outer, &CReportingSplitter::barReleased, this,
            [this](int position) { m_main.settings().m_nSplitterXPos = position; });

    connect(m_outer, &QSplitter::splitterMoved, this, [this](int position, int) { m_nLeftWidth = position; });
    connect(m_outer, &CReportingSplitter::widthChanged, this, &CSplitterFrame::clientWidthChanged);
    // The left column keeps its width when the window changes; clientWidthChanged scales it.
    m_outer->setStretchFactor(0, 0);
    m_outer->setStretchFactor(1, 1);
    setLeftColumnWidth(InitialLeftColumnWidth(m_main.settings().m_nSplitterXPos));

    // Whenever it becomes the active window it is shown maximised (after cascading, say).
    connect(this, &QMdiSubWindow::aboutToActivate, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && !isMaximized())
                showMaximized();
        });
    });
}

QWidget* CSplitterFrame::createColumn(int panel) {
    auto* column = new CFixedSplitter(Qt::Vertical);
    column->setChildrenCollapsible(false);
    // No explicit minimum: the column's minimum is what its header's controls need.
    column->setHandleWidth(1);
    auto* header = new CControlForm(m_main, panel);
    auto* path = new CPathForm(m_main, panel);
    auto* list = new CListFileView(m_main, panel);
    column->addWidget(header);
    column->addWidget(path);
    column->addWidget(list);
    column->setStretchFactor(0, 0);
    column->setStretchFactor(1, 0);
    column->setStretchFactor(2, 1);
    column->setSizes({kHeaderHeight, kPathHeight, kListHeight});
    m_inner[size_t(panel)] = column;
    m_main.RegisterPanelViews(panel, list, header, path);
    return column;
}

int CSplitterFrame::leftColumnWidth() const {
    return m_outer->sizes().value(0);
}

int CSplitterFrame::columnMinimum(int column) const {
    return m_inner[size_t(column)]->minimumSizeHint().width();
}

void CSplitterFrame::setLeftColumnWidth(int width) {
    m_nLeftWidth = width;
    const int total = m_outer->width() > 0 ? m_outer->width() : m_nLastWidth * 2;
    const int left = ClampLeftColumn(width, total - m_outer->handleWidth(), columnMinimum(0), columnMinimum(1));
    m_outer->setSizes({left, std::max(total - left - m_outer->handleWidth(), 1)});
}

void CSplitterFrame::clientWidthChanged(int w) {
    if (w == 0)
        return;
    if (!m_bLaidOut) {
        m_bLaidOut = true;
        m_nLastWidth = w;
        setLeftColumnWidth(InitialLeftColumnWidth(m_main.settings().m_nSplitterXPos));
        return;
    }
    if (w == m_nLastWidth)
        return;
    setLeftColumnWidth(ScaleLeftColumn(m_nLeftWidth, w, m_nLastWidth, columnMinimum(0)));
    m_nLastWidth = w;
}

void CSplitterFrame::closeEvent(QCloseEvent* event) {
    if (m_closeAllowed)
        event->accept();
    else
        event->ignore();
}

void CSplitterFrame::SwitchPanel() {
    QWidget* focus = QApplication::focusWidget();
    const bool inLeft = focus && m_inner[0]->isAncestorOf(focus);
    CListFileView* target = m_main.panelList(inLeft ? 1 : 0);
    if (target)
        target->setFocus(Qt::OtherFocusReason);
}

void CSplitterFrame::OpenDriveList(int panel) {
    CControlForm* header = m_main.panelHeader(panel);
    if (!header)
        return;
    m_main.mdiArea()->setActiveSubWindow(this);
    header->driveList()->setFocus(Qt::OtherFocusReason);
    header->driveList()->showPopup();
}

void CSplitterFrame::ToggleManager() {
    if (m_bShown) {
        m_main.commandsBar()->hide();
        hide();
        if (QMdiSubWindow* viewer = m_main.viewerFrame()) {
            viewer->raise();
            m_main.mdiArea()->setActiveSubWindow(viewer);
        }
        m_bShown = false;
    } else {
        show();
        m_main.commandsBar()->show();
        raise();
        m_main.commandsBar()->raise();
        m_main.mdiArea()->setActiveSubWindow(this);
        m_bShown = true;
    }
}

void CSplitterFrame::Cascade() {
    m_main.mdiArea()->cascadeSubWindows();
}

void CSplitterFrame::Tile() {
    m_main.mdiArea()->tileSubWindows();
}

void CSplitterFrame::NextWindow() {
    m_main.mdiArea()->activateNextSubWindow();
}

} // namespace zarno
