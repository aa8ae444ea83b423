#pragma once
// CPictView: the right pane of the signal viewer, an OpenGL window that draws the document through
// the renderer and turns the mouse and keys into calls of the view's input logic.

#include "app/render/graph_scene.h"
#include "app/report/report_model.h"

#include <QOpenGLWidget>

namespace zarno {

class CPictDoc;
class CPrintReport;
class PictPanelModel;
class Prompts;
class RenderScene;
class ViewInput;
struct ViewState;

class CPictView : public QOpenGLWidget {
    Q_OBJECT
public:
    CPictView(Prompts& prompts, QWidget* parent = nullptr);
    ~CPictView() override;

    // The document side the view draws and changes; set once by the frame before the first paint.
    void Attach(CPictDoc& doc, ViewState& view, RenderScene& scene, ViewInput& input);
    CGraphScene& scene() { return m_scene; }
    // The view's initial update: the graphs set up from the loaded document.
    void OnInitialUpdate();
    bool contextReady() const { return m_scene.HasContext(); }
    // The report settings dialog and the choices confirmed in it, kept with the view so that they
    // last while it is open; each viewer has its own.
    CPrintReport& reportDialog() { return *m_dlgReport; }
    ReportSettings& reportSettings() { return m_reportSettings; }
    int paints() const { return m_paints; }

signals:
    // The panel shows the readouts and the lengths again.
    void panelChanged();
    void printReportRequested();

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Prompts& m_prompts;
    CGraphScene m_scene;
    CPictDoc* m_doc = nullptr;
    ViewState* m_view = nullptr;
    RenderScene* m_render = nullptr;
    ViewInput* m_input = nullptr;
    CPrintReport* m_dlgReport = nullptr;
    ReportSettings m_reportSettings;
    int m_paints = 0;
};

} // namespace zarno
