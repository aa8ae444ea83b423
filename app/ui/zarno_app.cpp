#include "app/ui/zarno_app.h"

#include "app/filemanager/file_dialogs.h"
#include "app/fileops/recording_to_open.h"
#include "app/ui/command_ids.h"
#include "app/ui/main_frame.h"
#include "app/ui/splitter_frame.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QSettings>
#include <QToolBar>
#include <QCoreApplication>

namespace zarno {

namespace {

const char* const kRecentGroup = "Recent File List";
// The key of the n-th recent file (from 1), read and written alike.
QString RecentFileKey(int n) {
    return QStringLiteral("File%1").arg(n);
}

QMenu* FileMenu(CMainFrame& frame) {
    return frame.menuBar()->findChild<QMenu*>(QStringLiteral("fileMenu"));
}

} // namespace

CZarnoApp::CZarnoApp(FileDialogsFactory makeDialogs, QObject* parent)
    : QObject(parent), m_makeDialogs(std::move(makeDialogs)) {}

CZarnoApp::~CZarnoApp() {
    // The dialogs go first (they may be children of the main window), the file manager forgetting
    // them before.
    if (m_main)
        m_main->setFileDialogs(nullptr);
    m_dialogs.reset();
    m_main.reset();
}

bool CZarnoApp::InitInstance() {
    QCoreApplication::setOrganizationName(kSettingsOrganisation);
    QCoreApplication::setApplicationName(kSettingsApplication);
    loadRecentFiles();

    m_main = std::make_unique<CMainFrame>(m_prompts, nullptr);
    m_prompts.setParent(m_main.get());
    if (m_makeDialogs) {
        m_dialogs = m_makeDialogs(*m_main);
        m_main->setFileDialogs(m_dialogs.get());
    }
    if (!m_main->Create())
        return false;
    connect(m_main.get(), &CMainFrame::frameworkCommand, this, &CZarnoApp::dispatch);
    rebuildRecentMenu();
    m_main->CreateFileManagerWindow();
    m_main->showAsPlaced();
    return true;
}

void CZarnoApp::dispatch(int id) {
    switch (id) {
    case kCmdFileNew:
        OnFileNew();
        break;
    case kCmdFileOpen:
        OnFileOpen();
        break;
    case kCmdPrintSetup:
        OnFilePrintSetup();
        break;
    case kCmdAppAbout:
        OnAppAbout();
        break;
    default:
        break;
    }
}

void CZarnoApp::OnFileNew() {
    QStringList types;
    for (const DocumentType& type : kDocumentTypes)
        types << QString::fromLatin1(type.name);
    bool ok = false;
    const QString chosen = QInputDialog::getItem(m_main.get(), QCoreApplication::translate("zarno", "Создать"),
                                                 QCoreApplication::translate("zarno", "Тип документа:"), types, 0, false, &ok);
    if (ok)
        NewDocument(chosen);
}

void CZarnoApp::NewDocument(const QString& typeName) {
    if (typeName == QLatin1String(kDocumentTypes[0].name)) {
        // The file manager is one window for the whole run; a new one would show the same panels.
        CSplitterFrame* frame = m_main->splitterFrame();
        if (frame && !frame->isShown())
            frame->ToggleManager();
        else if (frame)
            m_main->mdiArea()->setActiveSubWindow(frame);
        return;
    }
    // A signal-viewer document shows one SEG-Y file; it is opened from a panel (a double click on an
    // "sgy" file, or "Отображение SGY файла"), never empty.
    m_prompts.message(QCoreApplication::translate("zarno", "Выберите SGY файл в панели и откройте его двойным щелчком."),
                      QStringLiteral("PictText"), PromptIcon::Information);
}

void CZarnoApp::OnFileOpen() {
    const QString path = QFileDialog::getOpenFileName(m_main.get(), QCoreApplication::translate("zarno", "Открыть"), QString(),
                                                      QCoreApplication::translate("zarno", "Все файлы (*)"));
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

void CZarnoApp::OpenDocumentFile(const QString& path) {
    addRecentFile(path);
    if (path.endsWith(QLatin1String(".sgy"), Qt::CaseInsensitive)) {
        m_main->OpenViewer(path);
        return;
    }
    // A file-manager document keeps nothing of a file: opening one shows the file manager and
    // remembers the file among the recent ones.
    NewDocument(QLatin1String(kDocumentTypes[0].name));
}

void CZarnoApp::OpenCommandLineFile(const QString& path) {
    if (QFileInfo(path).isDir()) {
        // A folder is a site: its window goes beside the file manager, so that both show.
        m_main->OpenSite(path);
        m_main->mdiArea()->tileSubWindows();
        return;
    }
    const QString sgy = RecordingToOpen(path, m_prompts);
    if (sgy.isEmpty())
        return;
    addRecentFile(sgy);
    m_main->OpenViewer(sgy);
}

void CZarnoApp::OpenHandedFile(const QString& path) {
    if (m_main->isMinimized())
        m_main->showNormal();
    m_main->raise();
    m_main->activateWindow();
    OpenCommandLineFile(path);
}

void CZarnoApp::OnFilePrintSetup() {
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPageSetupDialog dialog(m_printer.get(), m_main.get());
    dialog.exec();
}

void CZarnoApp::OnAppAbout() {
    QMessageBox::about(m_main.get(), QCoreApplication::translate("zarno", "О программе Zarno"),
                       QCoreApplication::translate("zarno", "Zarno, версия 1.0\n\nМенеджер файлов и просмотр сигналов прибора."));
}

void CZarnoApp::loadRecentFiles() {
    QSettings store;
    store.beginGroup(QLatin1String(kRecentGroup));
    m_recent.clear();
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString path = store.value(RecentFileKey(i)).toString();
        if (!path.isEmpty())
            m_recent << path;
    }
}

void CZarnoApp::saveRecentFiles() const {
    QSettings store;
    store.beginGroup(QLatin1String(kRecentGroup));
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString key = RecentFileKey(i);
        if (i <= m_recent.size())
            store.setValue(key, m_recent[i - 1]);
        else
            store.remove(key);
    }
}

void CZarnoApp::addRecentFile(const QString& path) {
    m_recent.removeAll(path);
    m_recent.prepend(path);
    while (m_recent.size() > kRecentFileCount)
        m_recent.removeLast();
    saveRecentFiles();
    rebuildRecentMenu();
}

void CZarnoApp::rebuildRecentMenu() {
    if (!m_main)
        return;
    QMenu* file = FileMenu(*m_main);
    if (!file)
        return;
    qDeleteAll(m_recentActions);
    m_recentActions.clear();
    QAction* place = nullptr;
    for (QAction* a : file->actions())
        if (a->objectName() == QLatin1String("recentFiles"))
            place = a;
    for (int i = 0; i < m_recent.size(); ++i) {
        const QString path = m_recent[i];
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path), file);
        connect(a, &QAction::triggered, this, [this, path] { OpenDocumentFile(path); });
        file->insertAction(place, a);
        m_recentActions << a;
    }
}

} // namespace zarno
