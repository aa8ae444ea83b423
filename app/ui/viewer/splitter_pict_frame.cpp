#include "app/ui/viewer/splitter_pict_frame.h"

#include "app/io/whole_file.h"
#include "app/ui/main_frame.h"
#include "app/ui/report_command.h"
#include "app/ui/splitter_frame.h"
#include "app/ui/viewer/dlg_nscreen.h"
#include "app/ui/viewer/pict_form.h"
#include "app/ui/viewer/pict_view.h"
#include "app/ui/viewer/property_sheet_sgy.h"
#include "app/ui/viewer/render_scene.h"
#include "app/ui/window_command_texts.h"
#include "app/viewer/pict_load.h"
#include "app/viewer/pict_panel_model.h"
#include "app/viewer/pict_processing.h"
#include "app/viewer/view_input.h"
#include "app/viewer/viewer_paint.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace zarno {

namespace {

constexpr int kPanelWidth = 230;

} // namespace

CSplitterPictFrame::CSplitterPictFrame(CMainFrame& main, const QString& sgyPath)
    : m_main(main), m_doc(main.viewerDisplay()), m_path(sgyPath) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(sgyPath);
    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_menu = new QMenuBar(client);
    layout->addWidget(m_menu);
    m_splitter = new QSplitter(Qt::Horizontal, client);
    // The panel scrolls when the window is lower than its controls.
    auto* panelScroll = new QScrollArea(m_splitter);
    panelScroll->setWidgetResizable(true);
    panelScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_panel = new CPictForm1(panelScroll);
    panelScroll->setWidget(m_panel);
    // 230 wide, or as wide as the panel's controls need in this platform's fonts, so that none is cut.
    const int panelWidth = std::max(kPanelWidth, m_panel->minimumSizeHint().width());
    panelScroll->setMinimumWidth(panelWidth + panelScroll->verticalScrollBar()->sizeHint().width() +
                                 2 * panelScroll->frameWidth());
    m_pictView = new CPictView(main.prompts(), m_splitter);
    m_splitter->addWidget(panelScroll);
    m_splitter->addWidget(m_pictView);
    m_splitter->setCollapsible(0, false);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({panelScroll->minimumWidth(), 600});
    layout->addWidget(m_splitter, 1);
    setWidget(client);

    m_render = std::make_unique<RenderScene>(m_pictView->scene(), m_doc, m_view, [this] { m_pictView->update(); });
    m_model = std::make_unique<PictPanelModel>(m_doc, m_view, *m_render, dsp::ProgramFilterSettings(), main.prompts());
    m_input = std::make_unique<ViewInput>(m_doc, m_view, *m_render, *m_model);
    m_pictView->Attach(m_doc, m_view, *m_render, *m_input);
    m_panel->Attach(*m_model);
    connect(m_panel, &CPictForm1::changed, this, &CSplitterPictFrame::refresh);
    connect(m_pictView, &CPictView::panelChanged, this, [this] {
        m_panel->Refresh(m_doc.Data().m_bLoaded);
        m_panel->ShowLengths(m_model->Lengths());
    });
    connect(m_pictView, &CPictView::printReportRequested, this, &CSplitterPictFrame::OnPrintReport);
    createMenu();
    resize(900, 600);
}

CSplitterPictFrame::CSplitterPictFrame(CMainFrame& main, const QString& title, DocumentLoad load)
    : CSplitterPictFrame(main, title) {
    m_load = std::move(load);
    // A document made in memory has no file whose headers could be shown.
    action(kCmdHeaders)->setEnabled(false);
}

CSplitterPictFrame::~CSplitterPictFrame() {
    if (m_main.viewerFrame() == this)
        m_main.setViewerFrame(nullptr);
}

bool CSplitterPictFrame::Load() {
    const bool loaded = m_load ? m_load(m_doc, m_main.prompts(), dsp::ProgramFilterSettings())
                               : LoadPictDoc(m_doc, m_path, m_main.prompts(), dsp::ProgramFilterSettings());
    if (loaded) {
        m_model->InitialUpdate();
        m_pictView->OnInitialUpdate();
    }
    refresh();
    return loaded;
}

QAction* CSplitterPictFrame::makeAction(QMenu* menu, ViewerCommandId id, const QString& text, bool checkable) {
    auto* a = menu->addAction(text);
    a->setCheckable(checkable);
    m_actions[id] = a;
    connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
    return a;
}

QAction* CSplitterPictFrame::action(ViewerCommandId id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CSplitterPictFrame::createMenu() {
    QMenu* file = m_menu->addMenu(tr("Файл"));
    file->setObjectName(QStringLiteral("viewerFileMenu"));
    // The view's key P prints the report too; the menu shows it. The key is the view's: as a
    // shortcut of the window it would take every P typed into the panel's fields.
    QAction* print = makeAction(file, kCmdPrintReport, tr("Печатать отчёт"));
    print->setShortcut(QKeySequence(Qt::Key_P));
    print->setShortcutContext(Qt::WidgetShortcut);
    makeAction(file, kCmdSaveSpectrum, tr("Сохр. спектр"));
    makeAction(file, kCmdViewerClose, tr("Закрыть"));
    QMenu* setup = m_menu->addMenu(tr("Настройка"));
    makeAction(setup, kCmdDisplaySettings, tr("Настройка параметров экрана"));
    QMenu* fft = setup->addMenu(tr("Настройка БПФ"));
    makeAction(fft, kCmdWindowRectangular, tr("Прямоугольное окно"), true);
    makeAction(fft, kCmdWindowBlackmanHarris, tr("Окно Блэкмана-Хэрриса"), true);
    makeAction(fft, kCmdWindowHamming, tr("Окно Хэмминга"), true);
    fft->addSeparator();
    makeAction(fft, kCmdScaleLog, tr("Логарифмический масштаб"), true);
    makeAction(fft, kCmdScaleLinear, tr("Линейный масштаб"), true);
    makeAction(setup, kCmdEditGain, tr("Настроить параметры ВАРУ"));
    makeAction(setup, kCmdEditFilter, tr("Настроить параметры  фильтра"));
    QMenu* windows = m_menu->addMenu(tr("Окна"));
    makeAction(windows, kCmdViewerToggleManager, Translated(kTextToggleManager));
    makeAction(windows, kCmdViewerCascade, Translated(kTextCascade));
    makeAction(windows, kCmdViewerTile, Translated(kTextTile));
    makeAction(windows, kCmdViewerNextWindow, Translated(kTextNextWindow));
    QMenu* view = m_menu->addMenu(tr("Вид"));
    makeAction(view, kCmdHeaders, tr("Заголовки"));
    makeAction(view, kCmdSpectrum, tr("Спектр"));
    makeAction(view, kCmdSignals, tr("Сигналы"));
    makeAction(view, kCmdFitPile, tr("Свая во весь экран"))->setShortcut(Qt::Key_F);
    QMenu* graph = view->addMenu(tr("График"));
    makeAction(graph, kCmdGrid, tr("Отобразить / Скрыть сетку"));
    QMenu* fill = view->addMenu(tr("Закраска"));
    makeAction(fill, kCmdFillLine, tr("Линия"), true);
    makeAction(fill, kCmdFillUpper, tr("Верхняя закраска"), true);
    makeAction(fill, kCmdFillLower, tr("Нижняя закраска"), true);
    makeAction(view, kCmdSwitchPane, Translated(kTextSwitchPanel));
    connect(m_menu, &QMenuBar::hovered, this, [this] { updateChecks(); });
    updateChecks();
}

void CSplitterPictFrame::updateChecks() {
    const auto check = [this](ViewerCommandId id, bool on) {
        if (QAction* a = action(id))
            a->setChecked(on);
    };
    check(kCmdFillLine, m_doc.Data().m_display.m_nFillMode == 0);
    check(kCmdFillUpper, m_doc.Data().m_display.m_nFillMode == 1);
    check(kCmdFillLower, m_doc.Data().m_display.m_nFillMode == 2);
    check(kCmdWindowRectangular, m_doc.Data().m_nFftWindow == 0);
    check(kCmdWindowBlackmanHarris, m_doc.Data().m_nFftWindow == 1);
    check(kCmdWindowHamming, m_doc.Data().m_nFftWindow == 2);
    check(kCmdScaleLog, m_doc.Data().m_nSpectrumScale == 0);
    check(kCmdScaleLinear, m_doc.Data().m_nSpectrumScale == 1);
}

void CSplitterPictFrame::refresh() {
    m_panel->Refresh(m_doc.Data().m_bLoaded);
    updateChecks();
    m_pictView->update();
}

void CSplitterPictFrame::runCommand(ViewerCommandId id) {
    CSplitterFrame* manager = m_main.splitterFrame();
    switch (id) {
    case kCmdPrintReport:
        OnPrintReport();
        return;
    case kCmdViewerClose:
        close();
        return;
    case kCmdDisplaySettings:
        DisplaySettings();
        return;
    case kCmdEditGain:
        // The gain library parents its question on the widget itself, not on a window-system id.
        m_model->EditGain(static_cast<QWidget*>(m_panel));
        break;
    case kCmdEditFilter:
        m_model->EditFilter();
        break;
    case kCmdViewerToggleManager:
        m_main.setViewerFrame(this);
        if (manager)
            manager->ToggleManager();
        return;
    case kCmdViewerCascade:
        m_main.mdiArea()->cascadeSubWindows();
        return;
    case kCmdViewerTile:
        m_main.mdiArea()->tileSubWindows();
        return;
    case kCmdViewerNextWindow:
        m_main.mdiArea()->activateNextSubWindow();
        return;
    case kCmdSpectrum:
        m_model->EnterSpectrum();
        break;
    case kCmdSignals:
        m_model->LeaveSpectrum();
        break;
    case kCmdFitPile:
        m_model->FitToPile();
        break;
    case kCmdSwitchPane:
        SwitchPane();
        return;
    case kCmdViewerNoItem:
        return;
    case kCmdLengthToSite:
        LengthToSite();
        return;
    default:
        runPaneCommand(id);
        return;
    }
    refresh();
}

// The commands both panes answer alike; the active one gets them.
void CSplitterPictFrame::runPaneCommand(ViewerCommandId id) {
    if (!m_doc.Data().m_bLoaded && id != kCmdHeaders && id != kCmdGrid)
        return;
    switch (id) {
    case kCmdHeaders:
        if (!m_load)
            ShowHeaders();
        return;
    case kCmdFillLine:
    case kCmdFillUpper:
    case kCmdFillLower:
        m_model->SetFillMode(id == kCmdFillLine ? 0 : id == kCmdFillUpper ? 1 : 2);
        break;
    case kCmdSaveSpectrum:
        SaveSpectrum();
        return;
    case kCmdWindowRectangular:
    case kCmdWindowBlackmanHarris:
    case kCmdWindowHamming:
        m_model->SetFftWindow(id - kCmdWindowRectangular);
        break;
    case kCmdScaleLog:
    case kCmdScaleLinear:
        m_model->SetSpectrumScale(id - kCmdScaleLog);
        break;
    case kCmdGrid:
        m_view.grid = !m_view.grid;
        m_pictView->repaint();
        break;
    default:
        return;
    }
    refresh();
}

bool CSplitterPictFrame::viewWasActive() const {
    // The pane holding the focus; the one last chosen while the focus is elsewhere.
    const QWidget* focus = QApplication::focusWidget();
    if (focus == m_pictView)
        return true;
    if (focus && (focus == m_panel || m_panel->isAncestorOf(focus)))
        return false;
    return m_viewActive;
}

void CSplitterPictFrame::SwitchPane() {
    m_viewActive = !viewWasActive();
    if (m_viewActive)
        m_pictView->setFocus();
    else
        m_panel->setFocus();
}

void CSplitterPictFrame::OnPrintReport() {
    if (!m_doc.Data().m_bLoaded)
        return;
    RunReportCommand(this, m_pictView->reportDialog(), m_pictView->reportSettings(),
                     ReportSourceOf(m_doc, m_model->Lengths(), m_model->SearchTrace()), m_pictView->scene(),
                     PaintDescription(m_doc, m_view), m_main.prompts());
    m_pictView->update();
}

void CSplitterPictFrame::offerLengthToSite(std::function<bool(double lengthM)> take) {
    m_takeLength = std::move(take);
    if (action(kCmdLengthToSite))
        return;
    QMenu* file = m_menu->findChild<QMenu*>(QStringLiteral("viewerFileMenu"));
    QAction* a = makeAction(file, kCmdLengthToSite, tr("Длина у маркера — в объект"));
    // Beside the report, before "Закрыть".
    file->removeAction(a);
    file->insertAction(action(kCmdSaveSpectrum), a);
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(a);
}

void CSplitterPictFrame::LengthToSite() {
    if (!m_takeLength)
        return;
    const std::optional<double> length = m_model->CurrentMarkerLength();
    if (!length) {
        m_main.prompts().message(tr("Поставьте текущий маркер на нижний конец сваи."), windowTitle(),
                                 PromptIcon::Information);
        return;
    }
    m_takeLength(*length);
}

void CSplitterPictFrame::DisplaySettings() {
    CDlgNScreen dialog(m_main.prompts(), this);
    dialog.setValues({m_doc.Data().m_display.m_nMaxGraphs, m_doc.Data().m_display.m_nBiasXGr, m_doc.Data().m_display.m_nBiasXFur, m_doc.Data().m_display.m_nBiasKoeffY});
    if (dialog.exec() == QDialog::Accepted) {
        const auto v = dialog.values();
        m_doc.ApplyDisplaySettings(v[0], v[1], v[2], v[3]);
    }
    // Accepted or not, the views repaint.
    refresh();
}

void CSplitterPictFrame::SaveSpectrum() {
    if (!m_doc.Data().m_bSpectrum) {
        m_main.prompts().message(SwitchToSpectrumText(), QString(), PromptIcon::None);
        return;
    }
    QFileDialog dialog(this, QString(), QStringLiteral("Spectr.txt"), QStringLiteral("txt (*.txt)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    // All or nothing: a short write on a filling disk is a failure, and an older file stays whole.
    const QString path = dialog.selectedFiles().front();
    if (io::WriteWholeFile(path, SpectrumFileText(m_doc)) != io::WholeFileResult::Written)
        m_main.prompts().message(tr("Не удалось записать файл %1").arg(path), tr("Ошибка"), PromptIcon::Stop);
}

void CSplitterPictFrame::ShowHeaders() {
    CPropertySheetSGY sheet(m_doc.Data().m_strPath.isEmpty() ? m_path : m_doc.Data().m_strPath, m_main.prompts(), this);
    sheet.setWindowTitle(QStringLiteral("SGY"));
    sheet.exec();
}

void CSplitterPictFrame::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowActive)) {
        m_main.setViewerFrame(this);
        setWindowTitle(m_path);
    }
}

void CSplitterPictFrame::closeEvent(QCloseEvent* event) {
    if (!m_closed) {
        m_closed = true;
        CSplitterFrame* manager = m_main.splitterFrame();
        if (manager && !manager->isShown())
            manager->ToggleManager();
        // The panel's destruction: the toolbar as the user left it, then the gain and the filter
        // settings kept beside the file.
        m_main.setToolbarVisible(m_main.files().ToolbarVisible());
        SavePictSettings(m_doc, dsp::ProgramFilterSettings(), m_main.prompts()); // a failure has been told
        if (m_main.viewerFrame() == this)
            m_main.setViewerFrame(nullptr);
    }
    QMdiSubWindow::closeEvent(event);
}

} // namespace zarno
