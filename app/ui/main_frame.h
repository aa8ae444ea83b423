#pragma once
// The program's main window: the MDI frame of the file-manager window and the signal viewers, its
// menus, the command toolbar and the accelerators. The file manager's logic (FileManager) does the
// work; this frame gives it its windows (PanelViews) and turns commands into its calls.

#include "app/filemanager/file_manager.h"
#include "app/i18n/texts.h"
#include "app/ui/command_ids.h"
#include "app/ui/persistent_frame.h"
#include "app/viewer/display_settings.h"

#include <QIcon>

#include <array>
#include <functional>
#include <map>
#include <memory>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace zarno {

// Said when the desktop cannot open a computer file; %1 is its path.
inline constexpr const char* kTextNoProgramForFile =
    QT_TRANSLATE_NOOP("zarno", "Не удалось открыть файл:\n%1\nДля файлов этого типа не назначена программа.");

class CControlForm;
class CDlgWait;
class CListFileView;
class CPathForm;
class CSiteFrame;
class CSplitterPictFrame;
class CSplitterFrame;
class FileDialogs;
class Prompts;

class CMainFrame : public CPersistentFrame, public PanelViews {
    Q_OBJECT
public:
    // `dialogs` may be null (the selection commands then only check); `drives` defaults to the real
    // system's mounts.
    CMainFrame(Prompts& prompts, FileDialogs* dialogs, std::unique_ptr<DriveSource> drives = nullptr,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Creation: the command toolbar, the saved settings, the system icons, the link settings, the
    // drive table and the connect by the saved link kind. False when the frame cannot be made.
    bool Create();
    // The file-manager window (once per run): its columns, its views' first fill.
    CSplitterFrame* CreateFileManagerWindow();

    void setFileDialogs(FileDialogs* dialogs);
    FileManager& files() { return *m_files; }
    Prompts& prompts() { return m_prompts; }
    QMdiArea* mdiArea() const { return m_mdi; }
    QToolBar* commandsBar() const { return m_commandsBar; }
    QAction* action(CommandId id) const;
    // Runs a command as its menu item, toolbar button or key does.
    void runCommand(CommandId id);

    // The file-manager window and its views register here as they are made.
    void registerSplitterFrame(CSplitterFrame* frame) { m_splitterFrame = frame; }
    CSplitterFrame* splitterFrame() const { return m_splitterFrame; }
    void RegisterPanelViews(int panel, CListFileView* list, CControlForm* header, CPathForm* path);
    CListFileView* panelList(int panel) const;
    CControlForm* panelHeader(int panel) const;
    CPathForm* panelPath(int panel) const;
    // The signal viewer's frame last activated, while one is open.
    QMdiSubWindow* viewerFrame() const { return m_viewerFrame; }
    void setViewerFrame(QMdiSubWindow* frame) { m_viewerFrame = frame; }
    // The viewers' display settings while the program runs: each viewer starts from them and gives
    // them back when it closes; they are kept with the program's settings.
    ViewerDisplaySettings& viewerDisplay() { return m_viewerDisplay; }
    // A signal viewer of an SGY file (the load's failures are told; the viewer then stays empty).
    QMdiSubWindow* OpenViewer(const QString& sgyPath);
    // A viewer made elsewhere (a site's pile, from memory) shown as the current one, its document loaded.
    QMdiSubWindow* ShowViewer(CSplitterPictFrame* frame);
    // The site window of a folder (the one already open for it comes to the front); the survey
    // starts at once and runs in the background.
    CSiteFrame* OpenSite(const QString& folder);
    // "Открыть объект…": a folder is asked for, then opened as a site.
    void OnOpenSite();

    // The panel of the active list: the last file list that had the focus in the file-manager
    // window; panel 0 when the active document window is not the file manager.
    int activePanel() const;
    // Gives the keys back to the active panel's list, with a current row, after a command, a dialog
    // or a directory change (only while the file-manager window is the active one).
    void focusActiveList();
    bool panelsLocked() const { return m_files->PanelsLocked(); }

    // Where a new signal-viewer document and the desktop's "open" go; replaceable so that the viewer
    // can plug in and tests can record.
    void setViewerOpener(std::function<void(const QString&)> open) { m_openViewer = std::move(open); }
    void setDesktopOpener(std::function<void(const QString&)> open) { m_openDesktop = std::move(open); }
    // The desktop found no program for a file (or could not run it): the user is told.
    void desktopOpenFailed(const QString& path);

    // Icons of the panels' rows: the system's icon of a computer path, the folder and document icons
    // for the instrument's rows.
    QVariant rowIcon(const PanelIconRequest& request) const;

    // ---- PanelViews ----
    void setFileCount(int panel, int count) override;
    void setPathText(int panel, const QString& path) override;
    void showDriveInList(int panel, const QString& root) override;
    void selectDriveItem(int panel, int index) override;
    void setPanelsLocked(bool locked) override;
    void showWaitPopup() override;
    void closeWaitPopup() override;
    std::vector<int> selectedRows(int panel) override;
    void releaseMouseCapture() override;
    void setToolbarVisible(bool visible) override;
    void openViewerDocument(const QString& sgyPath) override;
    void openWithDesktop(const QString& path) override;

signals:
    // File menu commands that belong to the application object.
    void frameworkCommand(int id);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void createMenus();
    bool createCommandsBar();
    QAction* makeAction(CommandId id, const QString& text, const QKeySequence& key = {});
    void updateLinkMenu();
    void destroyFrame();
    void setActiveListPanel(int panel);

    Prompts& m_prompts;
    CDlgWait* m_wait = nullptr;
    // What the file manager says goes through here, so that the wait window never covers it.
    std::unique_ptr<Prompts> m_filePrompts;
    FileDialogs* m_dialogs;
    std::unique_ptr<FileManager> m_files;
    QMdiArea* m_mdi;
    QToolBar* m_commandsBar = nullptr;
    std::map<int, QAction*> m_actions;
    QMenu* m_linkMenu = nullptr;
    CSplitterFrame* m_splitterFrame = nullptr;
    QMdiSubWindow* m_viewerFrame = nullptr;
    ViewerDisplaySettings m_viewerDisplay;
    std::array<CListFileView*, kPanelCount> m_lists{};
    std::array<CControlForm*, kPanelCount> m_headers{};
    std::array<CPathForm*, kPanelCount> m_paths{};
    int m_lastListPanel = 0;
    bool m_destroyed = false;
    QIcon m_deviceFolderIcon;
    QIcon m_deviceFileIcon;
    std::function<void(const QString&)> m_openViewer;
    std::function<void(const QString&)> m_openDesktop;
};

} // namespace zarno
