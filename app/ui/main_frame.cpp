#include "app/ui/main_frame.h"

#include "app/filemanager/file_dialogs.h"
#include "app/fileops/fileops_texts.h"
#include "app/i18n/texts.h"
#include "app/seams/prompts.h"
#include "app/ui/control_form.h"
#include "app/ui/desktop_open.h"
#include "app/ui/dlg_wait.h"
#include "app/ui/link_settings_sheets.h"
#include "app/ui/list_file_view.h"
#include "app/ui/path_form.h"
#include "app/ui/site/site_frame.h"
#include "app/ui/site/site_pile_viewer.h"
#include "app/ui/splitter_frame.h"
#include "app/ui/viewer/splitter_pict_frame.h"
#include "app/ui/window_command_texts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QCoreApplication>

namespace zarno {

namespace {

QIcon ComputerIcon(const QString& path) {
    static const QFileIconProvider provider;
    return provider.icon(QFileInfo(path));
}

} // namespace

CMainFrame::CMainFrame(Prompts& prompts, FileDialogs* dialogs, std::unique_ptr<DriveSource> drives,
                       QWidget* parent)
    : CPersistentFrame(parent), m_prompts(prompts),
      m_filePrompts(std::make_unique<PromptsAboveWait>(prompts, [this] { closeWaitPopup(); })),
      m_dialogs(dialogs),
      m_files(std::make_unique<FileManager>(*m_filePrompts, *this, std::move(drives))),
      m_mdi(new QMdiArea(this)) {
    setWindowTitle(QString::fromUtf8(kAppCaption));
    setCentralWidget(m_mdi);
    m_files->SetFileDialogs(dialogs);
    m_openDesktop = [this](const QString& path) {
        OpenWithDesktopProgram(path, this, [this, path] { desktopOpenFailed(path); });
    };
    m_openViewer = [this](const QString& path) { OpenViewer(path); };
    createActions();
    createMenus();
}

CMainFrame::~CMainFrame() {
    destroyFrame();
}

void CMainFrame::setFileDialogs(FileDialogs* dialogs) {
    m_dialogs = dialogs;
    m_files->SetFileDialogs(dialogs);
}

bool CMainFrame::Create() {
    if (!createCommandsBar()) {
        m_prompts.trace(QStringLiteral("Failed to create toolbar\n"));
        return false;
    }
    LoadSettings();
    m_viewerDisplay.m_nFillMode = settings().m_nZakraskaGrafs;
    m_viewerDisplay.m_nMaxGraphs = settings().m_nNScreenMaxGraf;
    m_viewerDisplay.m_nBiasXGr = settings().m_nBiasXGr;
    m_viewerDisplay.m_nBiasXFur = settings().m_nBiasXFur;
    m_viewerDisplay.m_nBiasKoeffY = settings().m_nBiasKoeffY;
    // The system's icons for computer entries, the style's folder and document icons for the
    // instrument's rows.
    m_deviceFolderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    m_deviceFileIcon = style()->standardIcon(QStyle::SP_FileIcon);
    // Without icons the rows are merely plainer: the link, the drives and the saved panels are
    // still taken over, so that closing the program does not write defaults over the user's settings.
    if (m_deviceFolderIcon.isNull() || ComputerIcon(QStringLiteral("/")).isNull())
        m_prompts.message(QCoreApplication::translate("zarno", "Ошибка при получении системного списка значков!"),
                          QString::fromUtf8(kAppCaption), PromptIcon::Stop);
    m_files->SetIconProvider([this](const PanelIconRequest& request) { return rowIcon(request); });
    m_files->Create(settings());
    return true;
}

CSplitterFrame* CMainFrame::CreateFileManagerWindow() {
    auto* frame = new CSplitterFrame(*this);
    m_mdi->addSubWindow(frame);
    // The window is never narrower than both columns' controls need.
    m_mdi->setMinimumWidth(frame->minimumSizeHint().width());
    frame->showMaximized();
    for (int panel = 0; panel < kPanelCount; ++panel) {
        m_headers[size_t(panel)]->fillDriveList();
        m_files->InitialisePanel(panel);
        m_lists[size_t(panel)]->applyColumnWidths();
    }
    return frame;
}

QVariant CMainFrame::rowIcon(const PanelIconRequest& request) const {
    if (request.onDevice)
        return request.isDirectory ? m_deviceFolderIcon : m_deviceFileIcon;
    return ComputerIcon(request.path);
}

QAction* CMainFrame::makeAction(CommandId id, const QString& text, const QKeySequence& key) {
    auto* a = new QAction(text, this);
    a->setData(int(id));
    if (!key.isEmpty()) {
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
    }
    addAction(a); // the keys work whether or not a menu or the toolbar shows the command
    connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
    m_actions[int(id)] = a;
    return a;
}

QAction* CMainFrame::action(CommandId id) const {
    const auto it = m_actions.find(int(id));
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::createActions() {
    makeAction(kCmdFileNew, QCoreApplication::translate("zarno", "Создать"), QKeySequence::New);
    makeAction(kCmdFileOpen, QCoreApplication::translate("zarno", "Открыть..."), QKeySequence::Open);
    makeAction(kCmdOpenSite, tr("Открыть объект…"));
    makeAction(kCmdPrintSetup, QCoreApplication::translate("zarno", "Настройка печати..."));
    makeAction(kCmdAppExit, QCoreApplication::translate("zarno", "Выход"));
    makeAction(kCmdAppAbout, QCoreApplication::translate("zarno", "О программе"));

    makeAction(kCmdConnectCom1, QStringLiteral("COM1"))->setCheckable(true);
    makeAction(kCmdConnectCom2, QStringLiteral("COM2"))->setCheckable(true);
    makeAction(kCmdConnectNetwork, QCoreApplication::translate("zarno", "Сетевое соединение"))->setCheckable(true);
    makeAction(kCmdComSettings, QCoreApplication::translate("zarno", "Настройка COM порта"));
    makeAction(kCmdNetworkSettings, QCoreApplication::translate("zarno", "Настройка параметров соединения"));
    makeAction(kCmdShowTransport, QCoreApplication::translate("zarno", "Показать транспорт"));
    makeAction(kCmdDisconnect, QCoreApplication::translate("zarno", "Отключить транспорт"));

    makeAction(kCmdCopy, QCoreApplication::translate("zarno", "Копирование (F5)"), QKeySequence(Qt::Key_F5));
    makeAction(kCmdMakeDirectory, QCoreApplication::translate("zarno", "Создание каталога (F7)"), QKeySequence(Qt::Key_F7));
    makeAction(kCmdDelete, QCoreApplication::translate("zarno", "Стирание (F8)"), QKeySequence(Qt::Key_F8));
    makeAction(kCmdToolbar, QCoreApplication::translate("zarno", "Панель инструментов"))->setCheckable(true);
    makeAction(kCmdShowSgy, QCoreApplication::translate("zarno", "Отображение SGY файла"));

    makeAction(kCmdSwitchPanel, Translated(kTextSwitchPanel));
    makeAction(kCmdLeftDriveList, QCoreApplication::translate("zarno", "Левый выпадающий список"),
               QKeySequence(Qt::ALT | Qt::Key_F1));
    makeAction(kCmdRightDriveList, QCoreApplication::translate("zarno", "Правый выпадающий список"),
               QKeySequence(Qt::ALT | Qt::Key_F2));
    makeAction(kCmdToggleManager, Translated(kTextToggleManager));
    makeAction(kCmdCascade, Translated(kTextCascade));
    makeAction(kCmdTile, Translated(kTextTile));
    makeAction(kCmdNextWindow, Translated(kTextNextWindow));
    action(kCmdToolbar)->setChecked(true);
}

void CMainFrame::createMenus() {
    QMenu* file = menuBar()->addMenu(QCoreApplication::translate("zarno", "Файл"));
    file->setObjectName(QStringLiteral("fileMenu"));
    file->addAction(action(kCmdFileNew));
    file->addAction(action(kCmdFileOpen));
    file->addAction(action(kCmdOpenSite));
    file->addAction(action(kCmdPrintSetup));
    file->addSeparator();
    // The application object puts the recent files here, before "Выход".
    file->addSeparator()->setObjectName(QStringLiteral("recentFiles"));
    file->addAction(action(kCmdAppExit));

    m_linkMenu = menuBar()->addMenu(QCoreApplication::translate("zarno", "Транспорт"));
    m_linkMenu->addAction(action(kCmdConnectCom1));
    m_linkMenu->addAction(action(kCmdConnectCom2));
    m_linkMenu->addAction(action(kCmdConnectNetwork));
    m_linkMenu->addSeparator();
    m_linkMenu->addAction(action(kCmdComSettings));
    m_linkMenu->addAction(action(kCmdNetworkSettings));
    m_linkMenu->addSeparator();
    m_linkMenu->addAction(action(kCmdShowTransport));
    m_linkMenu->addAction(action(kCmdDisconnect));
    connect(m_linkMenu, &QMenu::aboutToShow, this, &CMainFrame::updateLinkMenu);

    QMenu* view = menuBar()->addMenu(QCoreApplication::translate("zarno", "Вид"));
    view->addAction(action(kCmdToolbar));
    view->addAction(action(kCmdShowSgy));
    view->addSeparator();
    view->addAction(action(kCmdCopy));
    view->addAction(action(kCmdMakeDirectory));
    view->addAction(action(kCmdDelete));

    QMenu* window = menuBar()->addMenu(QCoreApplication::translate("zarno", "Окно"));
    for (CommandId id : {kCmdSwitchPanel, kCmdLeftDriveList, kCmdRightDriveList, kCmdToggleManager,
                         kCmdCascade, kCmdTile, kCmdNextWindow})
        window->addAction(action(id));

    QMenu* help = menuBar()->addMenu(QCoreApplication::translate("zarno", "Справка"));
    help->addAction(action(kCmdAppAbout));
}

bool CMainFrame::createCommandsBar() {
    m_commandsBar = new QToolBar(QStringLiteral("Commands Bar"), this);
    m_commandsBar->setObjectName(QStringLiteral("Commands Bar"));
    m_commandsBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    action(kCmdCopy)->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    action(kCmdMakeDirectory)->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    action(kCmdDelete)->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    m_commandsBar->addAction(action(kCmdCopy));
    m_commandsBar->addAction(action(kCmdMakeDirectory));
    m_commandsBar->addAction(action(kCmdDelete));
    addToolBar(Qt::TopToolBarArea, m_commandsBar);
    // The menu's check mark follows the user's choice, not hides for the signal viewer.
    m_commandsBar->toggleViewAction()->setVisible(false);
    return true;
}

void CMainFrame::updateLinkMenu() {
    const bool connected = m_files->IsConnected();
    const int32_t kind = m_files->LinkType();
    const std::pair<CommandId, int32_t> links[] = {
        {kCmdConnectCom1, kLinkCom1}, {kCmdConnectCom2, kLinkCom2}, {kCmdConnectNetwork, kLinkNetwork}};
    for (const auto& [id, linkKind] : links) {
        action(id)->setChecked(kind == linkKind);
        action(id)->setEnabled(!(connected && kind == linkKind));
    }
    action(kCmdDisconnect)->setEnabled(connected);
}

int CMainFrame::activePanel() const {
    if (!m_splitterFrame || m_mdi->currentSubWindow() != m_splitterFrame)
        return 0;
    return m_lastListPanel;
}

void CMainFrame::focusActiveList() {
    if (!m_splitterFrame || m_mdi->currentSubWindow() != m_splitterFrame)
        return;
    CListFileView* list = panelList(activePanel());
    if (!list || !list->isEnabled())
        return;
    // A dialog or pop-up of the command has just gone; not every window system hands the
    // activation back to the window beneath it.
    if (!isActiveWindow() && !QApplication::activeModalWidget())
        activateWindow();
    list->setFocus(Qt::OtherFocusReason);
    if (list->currentRow() < 0)
        list->setCurrentRow(0);
}

void CMainFrame::runCommand(CommandId id) {
    if (panelsLocked())
        return; // panels locked: an instrument exchange is running
    const int panel = activePanel();
    switch (id) {
    case kCmdFileNew:
    case kCmdFileOpen:
    case kCmdPrintSetup:
    case kCmdAppAbout:
        emit frameworkCommand(int(id));
        break;
    case kCmdAppExit:
        close();
        break;
    case kCmdOpenSite:
        OnOpenSite();
        break;
    case kCmdConnectCom1:
        m_files->ChooseLink(kLinkCom1);
        break;
    case kCmdConnectCom2:
        m_files->ChooseLink(kLinkCom2);
        break;
    case kCmdConnectNetwork:
        m_files->ChooseLink(kLinkNetwork);
        break;
    case kCmdConnectSaved:
        if (!m_files->IsConnected())
            m_files->ConnectBySavedLink();
        break;
    case kCmdComSettings: {
        CPropertySheetCOM sheet(m_files->device(), m_prompts, this);
        sheet.exec();
        break;
    }
    case kCmdNetworkSettings: {
        CPropertySheetEthernet sheet(m_files->device(), this);
        sheet.exec();
        break;
    }
    case kCmdShowTransport:
        m_files->ShowTransportCommand();
        break;
    case kCmdDisconnect:
        if (m_files->IsConnected())
            m_files->DisconnectTransport();
        break;
    case kCmdCopy:
        m_files->CopySelection(panel);
        focusActiveList();
        break;
    case kCmdMakeDirectory:
        m_files->MakeDirectoryInPanel(panel);
        focusActiveList();
        break;
    case kCmdDelete:
        m_files->DeleteSelection(panel);
        focusActiveList();
        break;
    case kCmdToolbar:
        m_files->ToggleToolbar();
        break;
    case kCmdShowSgy:
        m_files->ShowSelectedSgy(panel);
        break;
    case kCmdSwitchPanel:
    case kCmdLeftDriveList:
    case kCmdRightDriveList:
    case kCmdToggleManager:
    case kCmdCascade:
    case kCmdTile:
    case kCmdNextWindow:
        if (!m_splitterFrame)
            break;
        if (id == kCmdSwitchPanel)
            m_splitterFrame->SwitchPanel();
        else if (id == kCmdLeftDriveList)
            m_splitterFrame->OpenDriveList(0);
        else if (id == kCmdRightDriveList)
            m_splitterFrame->OpenDriveList(1);
        else if (id == kCmdToggleManager)
            m_splitterFrame->ToggleManager();
        else if (id == kCmdCascade)
            m_splitterFrame->Cascade();
        else if (id == kCmdTile)
            m_splitterFrame->Tile();
        else
            m_splitterFrame->NextWindow();
        break;
    }
}

void CMainFrame::RegisterPanelViews(int panel, CListFileView* list, CControlForm* header, CPathForm* path) {
    if (panel < 0 || panel >= kPanelCount)
        return;
    m_lists[size_t(panel)] = list;
    m_headers[size_t(panel)] = header;
    m_paths[size_t(panel)] = path;
    connect(list, &CListFileView::focused, this, [this, panel] { setActiveListPanel(panel); });
    path->setActive(panel == m_lastListPanel);
}

void CMainFrame::setActiveListPanel(int panel) {
    m_lastListPanel = panel;
    for (int p = 0; p < kPanelCount; ++p)
        if (CPathForm* line = panelPath(p))
            line->setActive(p == panel);
}

CListFileView* CMainFrame::panelList(int panel) const {
    return panel >= 0 && panel < kPanelCount ? m_lists[size_t(panel)] : nullptr;
}
CControlForm* CMainFrame::panelHeader(int panel) const {
    return panel >= 0 && panel < kPanelCount ? m_headers[size_t(panel)] : nullptr;
}
CPathForm* CMainFrame::panelPath(int panel) const {
    return panel >= 0 && panel < kPanelCount ? m_paths[size_t(panel)] : nullptr;
}

// ---- PanelViews ----

void CMainFrame::setFileCount(int panel, int count) {
    if (CControlForm* header = panelHeader(panel))
        header->setFileCount(count);
}

void CMainFrame::setPathText(int panel, const QString& path) {
    if (CPathForm* line = panelPath(panel))
        line->setText(path);
}

void CMainFrame::showDriveInList(int panel, const QString& root) {
    if (CControlForm* header = panelHeader(panel))
        header->showDrive(root);
}

void CMainFrame::selectDriveItem(int panel, int index) {
    if (CControlForm* header = panelHeader(panel))
        header->selectDriveItem(index);
}

void CMainFrame::setPanelsLocked(bool locked) {
    for (int panel = 0; panel < kPanelCount; ++panel) {
        if (CControlForm* header = panelHeader(panel))
            header->setControlsEnabled(!locked);
        if (CListFileView* list = panelList(panel))
            list->setEnabled(!locked);
    }
    menuBar()->setEnabled(!locked);
    if (m_commandsBar)
        m_commandsBar->setEnabled(!locked);
    // Disabling the lists pushed the focus on to the next control (a drive list): once the
    // instrument has answered, the keys belong to the active panel's list again, unless a dialog
    // of the command holds them.
    QWidget* focus = QApplication::focusWidget();
    if (!locked && (!focus || focus->window() == this))
        focusActiveList();
}

void CMainFrame::showWaitPopup() {
    if (!m_wait)
        m_wait = new CDlgWait(this);
    m_wait->popUp();
}

void CMainFrame::closeWaitPopup() {
    if (!m_wait)
        return;
    // Where the window system gave the pop-up the activation after all, it goes back to this window
    // with the pop-up, so that the keys are not left with no window at all.
    const bool hadActivation = m_wait->isActiveWindow();
    m_wait->hide();
    if (hadActivation)
        activateWindow();
}

std::vector<int> CMainFrame::selectedRows(int panel) {
    CListFileView* list = panelList(panel);
    return list ? list->selectedRows() : std::vector<int>{};
}

void CMainFrame::releaseMouseCapture() {
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
}

void CMainFrame::setToolbarVisible(bool visible) {
    if (m_commandsBar)
        m_commandsBar->setVisible(visible);
    if (QAction* toggle = action(kCmdToolbar))
        toggle->setChecked(m_files->ToolbarVisible());
}

QMdiSubWindow* CMainFrame::OpenViewer(const QString& sgyPath) {
    return ShowViewer(new CSplitterPictFrame(*this, sgyPath));
}

QMdiSubWindow* CMainFrame::ShowViewer(CSplitterPictFrame* frame) {
    m_mdi->addSubWindow(frame);
    frame->show();
    m_mdi->setActiveSubWindow(frame);
    setViewerFrame(frame);
    frame->Load();
    return frame;
}

CSiteFrame* CMainFrame::OpenSite(const QString& folder) {
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    for (QMdiSubWindow* window : m_mdi->subWindowList())
        if (auto* site = qobject_cast<CSiteFrame*>(window); site && site->folder() == path) {
            m_mdi->setActiveSubWindow(site);
            return site;
        }
    auto* frame = new CSiteFrame(path, m_prompts);
    frame->setPileOpener([this, frame](const site::PileResult& pile, std::optional<double> velocity) {
        OpenSitePileViewer(*this, *frame, pile, velocity);
    });
    m_mdi->addSubWindow(frame);
    frame->show();
    m_mdi->setActiveSubWindow(frame);
    frame->Survey();
    return frame;
}

void CMainFrame::OnOpenSite() {
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Открыть объект"));
    if (!folder.isEmpty())
        OpenSite(folder);
}

void CMainFrame::openViewerDocument(const QString& sgyPath) {
    if (m_openViewer)
        m_openViewer(sgyPath);
}

void CMainFrame::openWithDesktop(const QString& path) {
    if (m_openDesktop)
        m_openDesktop(path);
}

void CMainFrame::desktopOpenFailed(const QString& path) {
    m_prompts.message(Translated(kTextNoProgramForFile).arg(path), QString::fromUtf8(kAppCaption),
                      PromptIcon::Warning);
}

// ---- destruction ----

void CMainFrame::closeEvent(QCloseEvent* event) {
    // An instrument exchange runs a nested event loop below this one: the link cannot be taken down
    // under it. The window closes once the exchange is over.
    if (panelsLocked() || QApplication::activeModalWidget()) {
        event->ignore();
        return;
    }
    destroyFrame();
    if (m_splitterFrame)
        m_splitterFrame->allowClose();
    event->accept();
}

void CMainFrame::destroyFrame() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    // The viewers give their display settings back (and keep their files' settings) first.
    for (QMdiSubWindow* window : m_mdi->subWindowList())
        if (auto* viewer = qobject_cast<CSplitterPictFrame*>(window)) {
            viewer->close();
            delete viewer;
        }
    settings().m_nZakraskaGrafs = m_viewerDisplay.m_nFillMode;
    settings().m_nNScreenMaxGraf = m_viewerDisplay.m_nMaxGraphs;
    settings().m_nBiasXGr = m_viewerDisplay.m_nBiasXGr;
    settings().m_nBiasXFur = m_viewerDisplay.m_nBiasXFur;
    settings().m_nBiasKoeffY = m_viewerDisplay.m_nBiasKoeffY;
    for (int panel = 0; panel < kPanelCount; ++panel)
        if (CListFileView* list = panelList(panel))
            list->storeColumnWidths();
    // Disconnects when connected, then hands the panels' and the link's values to the settings.
    m_files->Destroy(settings());
    if (!SaveSettings())
        m_prompts.message(
            QStringLiteral("%1\n%2").arg(Translated(kTextWriteFailed), SettingsFileName()), QString(),
            PromptIcon::Stop);
}

} // namespace zarno
