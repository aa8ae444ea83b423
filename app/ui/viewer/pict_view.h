#pragma once
// CPictView: the right pane of the signal viewer, an OpenGL window that draws the document through
// the renderer and turns the mouse and keys into calls of the view's input logic.

#include "app/render/graph_scene.h"
#include "app/viewer/lengths_list.h"

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
    // The lengths list of the last paint (the panel shows it, the report prints it).
    const LengthsList& lengths() const { return m_lengths; }
    bool contextReady() const { return m_scene.HasContext(); }
    // The report settings dialog, kept with the view so that its choices last while it is open.
    CPrintReport& reportDialog() { return *m_dlgReport; }
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
    LengthsList m_lengths;
    CPrintReport* m_dlgReport = nullptr;
    int m_paints = 0;
};

} // namespace zarno
