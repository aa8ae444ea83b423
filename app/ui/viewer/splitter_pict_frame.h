#pragma once
// CSplitterPictFrame: the signal viewer's window, an MDI child split into the measurement panel
// (left) and the signal view (right), with the viewer's menu. It owns the document of one SEG-Y
// file and everything the panel and the view share, routes the menu's commands and, when it
// closes, keeps the gain and filter settings beside the file and brings the file manager back.

#include "app/dsp/filter_settings.h"
#include "app/ui/command_ids.h"
#include "app/viewer/pict_doc.h"
#include "app/viewer/view_state.h"

#include <QMdiSubWindow>

#include <functional>
#include <map>
#include <memory>

class QAction;
class QMenuBar;
class QSplitter;

namespace zarno {

class CMainFrame;
class CPictForm1;
class CPictView;
class PictPanelModel;
class Prompts;
class RenderScene;
class ViewInput;

class CSplitterPictFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    // Fills the document of a viewer that shows no file of its own (a site's averaged pile); false
    // when nothing could be loaded (told through prompts).
    using DocumentLoad = std::function<bool(CPictDoc& doc, Prompts& prompts, dsp::FilterSettings& filter)>;

    CSplitterPictFrame(CMainFrame& main, const QString& sgyPath);
    // A viewer of a document made in memory: title names it.
    CSplitterPictFrame(CMainFrame& main, const QString& title, DocumentLoad load);
    ~CSplitterPictFrame() override;

    // The viewer of a site's pile offers "Длина у маркера — в объект": the length at the current
    // marker goes to take, which keeps it as the engineer's decision.
    void offerLengthToSite(std::function<bool(double lengthM)> take);

    // The panel's initial update (the load, then the panel's controls) and the view's. False when
    // the load stopped: the viewer stays, empty, and can be closed.
    bool Load();

    // Runs a command of the viewer's menu, sent to the active pane (panel or view).
    void runCommand(ViewerCommandId id);
    QAction* action(ViewerCommandId id) const;
    // "Левая/правая панель": the other pane takes the focus.
    void SwitchPane();
    // "Печатать отчёт" and the view's key P.
    void OnPrintReport();

    CPictDoc& doc() { return m_doc; }
    ViewState& viewState() { return m_view; }
    PictPanelModel& model() { return *m_model; }
    CPictForm1* panel() const { return m_panel; }
    CPictView* view() const { return m_pictView; }
    QSplitter* splitter() const { return m_splitter; }
    QMenuBar* menuBar() const { return m_menu; }
    // The active pane, which the pane commands go to: true for the view, false for the panel.
    bool viewWasActive() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createMenu();
    QAction* makeAction(QMenu* menu, ViewerCommandId id, const QString& text, bool checkable = false);
    void runPaneCommand(ViewerCommandId id);
    void DisplaySettings();
    void SaveSpectrum();
    void ShowHeaders();
    void refresh();
    void updateChecks();
    void LengthToSite();

    CMainFrame& m_main;
    CPictDoc m_doc;
    ViewState m_view;
    std::unique_ptr<RenderScene> m_render;
    std::unique_ptr<PictPanelModel> m_model;
    std::unique_ptr<ViewInput> m_input;
    QMenuBar* m_menu = nullptr;
    QSplitter* m_splitter = nullptr;
    CPictForm1* m_panel = nullptr;
    CPictView* m_pictView = nullptr;
    std::map<int, QAction*> m_actions;
    QString m_path;
    DocumentLoad m_load; // a document made in memory instead of the file at m_path
    std::function<bool(double)> m_takeLength;
    bool m_viewActive = true;
    bool m_closed = false;
};

} // namespace zarno
