#pragma once
// The application object: the settings key, the recent-file list of four, the two document types
// (the file manager's "Zarno", the signal viewer's "PictText"), the main window, and the File and
// Help commands of the framework (New, Open, Print Setup, recent files, About).

#include "app/ui/dialogs/gui_prompts.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QPrinter;

namespace zarno {

class CMainFrame;
class FileDialogs;

// The document types, in the order they are registered.
struct DocumentType {
    const char* name;
    const char* documentString;
};
inline constexpr DocumentType kDocumentTypes[] = {
    {"Zarno", "\nZarno\nZarno\n\n\nZarno.Document\nZarno Document"},
    {"PictText", "\nPictText\nPictText\n\n\nPict.Document\nPict Document"},
};

constexpr int kRecentFileCount = 4;

// Makes the dialogs that the selection commands open, once the main frame (whose file manager they
// work on) exists.
using FileDialogsFactory = std::function<std::unique_ptr<FileDialogs>(CMainFrame&)>;

class CZarnoApp : public QObject {
    Q_OBJECT
public:
    // Without a factory the selection commands only check and open nothing.
    explicit CZarnoApp(FileDialogsFactory makeDialogs = {}, QObject* parent = nullptr);
    ~CZarnoApp() override;

    // Start-up: settings key, recent files, the main frame, the one file-manager window; the window
    // is shown as its saved placement says. False when the main frame cannot be made.
    bool InitInstance();
    CMainFrame* mainFrame() const { return m_main.get(); }
    Prompts& prompts() { return m_prompts; }

    const QStringList& recentFiles() const { return m_recent; }
    void addRecentFile(const QString& path);

    // The framework's commands.
    void OnFileNew();
    // A document of the chosen type: "Zarno" brings the file-manager window back (there is only
    // one); "PictText" needs a SEG-Y file, which comes from a panel.
    void NewDocument(const QString& typeName);
    void OnFileOpen();
    void OpenDocumentFile(const QString& path);
    // A file given on the command line: a SEG-Y recording opens in a viewer, a DDB recording after
    // the user agreed to its conversion, a folder in a site window beside the file manager; anything
    // else is refused with a message.
    void OpenCommandLineFile(const QString& path);
    // A file handed over by a later start: the main window comes to the front and opens it as it
    // opens a file of its own command line.
    void OpenHandedFile(const QString& path);
    void OnFilePrintSetup();
    void OnAppAbout();

private:
    void loadRecentFiles();
    void saveRecentFiles() const;
    void rebuildRecentMenu();
    void dispatch(int id);

    GuiPrompts m_prompts;
    FileDialogsFactory m_makeDialogs;
    std::unique_ptr<CMainFrame> m_main;
    std::unique_ptr<FileDialogs> m_dialogs;
    std::unique_ptr<QPrinter> m_printer;
    QStringList m_recent;
    QList<QAction*> m_recentActions;
};

} // namespace zarno
