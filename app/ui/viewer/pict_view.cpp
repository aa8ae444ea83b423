#include "app/ui/viewer/pict_view.h"

#include "app/render/graph_picture.h"
#include "app/render/graph_setup.h"
#include "app/render/qt_gl_binding.h"
#include "app/report/report_model.h"
#include "app/ui/print_report_dialog.h"
#include "app/ui/viewer/render_scene.h"
#include "app/viewer/pict_doc.h"
#include "app/viewer/view_input.h"
#include "app/viewer/viewer_paint.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>

namespace zarno {

namespace {

ViewKey KeyOf(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return ViewKey::Enter;
    case Qt::Key_Escape:
        return ViewKey::Escape;
    case Qt::Key_End:
        return ViewKey::End;
    case Qt::Key_Home:
        return ViewKey::Home;
    case Qt::Key_Left:
        return ViewKey::Left;
    case Qt::Key_Right:
        return ViewKey::Right;
    case Qt::Key_Up:
        return ViewKey::Up;
    case Qt::Key_Down:
        return ViewKey::Down;
    case Qt::Key_M:
        return ViewKey::M;
    case Qt::Key_P:
        return ViewKey::P;
    default:
        return ViewKey::Other;
    }
}

} // namespace

CPictView::CPictView(Prompts& prompts, QWidget* parent) : QOpenGLWidget(parent), m_prompts(prompts) {
    // The renderer draws in immediate mode: a compatibility context with 8 bits per colour.
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    setFormat(format);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(10, 14);
    m_dlgReport = new CPrintReport(this);
}

CPictView::~CPictView() {
    makeCurrent();
    m_scene.Destroy();
    doneCurrent();
}

void CPictView::Attach(CPictDoc& doc, ViewState& view, RenderScene& scene, ViewInput& input) {
    m_doc = &doc;
    m_view = &view;
    m_render = &scene;
    m_input = &input;
}

void CPictView::OnInitialUpdate() {
    if (!m_doc || !m_doc->Data().m_bLoaded)
        return;
    SetUpGraphs(m_scene, SignalGraphsOf(*m_doc), SpectrumGraphsOf(*m_doc));
    m_doc->SetSingleTrace(0);
    update();
}

void CPictView::initializeGL() {
    // A failure is shown by the scene with its own message; the window stays, empty.
    m_scene.CreateContext(BindQtContext(context()), m_prompts);
}

void CPictView::resizeGL(int w, int h) {
    const qreal ratio = devicePixelRatio();
    m_scene.SetWindow(0, 0, int(w * ratio), int(h * ratio));
}

void CPictView::paintGL() {
    ++m_paints;
    if (!m_scene.HasContext() || !m_doc)
        return;
    DrawPicture(m_scene, PaintDescription(*m_doc, *m_view));
    if (!m_doc->Data().m_bLoaded)
        return;
    emit panelChanged();
}

void CPictView::mousePressEvent(QMouseEvent* event) {
    if (!m_input || !m_doc->Data().m_bLoaded || event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint() * devicePixelRatio();
    m_input->LeftDown(m_render->AxisX(p.x()), m_render->HitAt(p.x(), p.y()));
    emit panelChanged();
}

void CPictView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!m_input || !m_doc->Data().m_bLoaded)
        return;
    const QPoint p = event->position().toPoint() * devicePixelRatio();
    const PointerHit hit = m_render->HitAt(p.x(), p.y());
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier))
        m_input->AddMarker(m_render->AxisX(p.x()), hit);
    else if (event->button() == Qt::LeftButton)
        m_input->LeftDoubleClick(m_render->AxisX(p.x()), hit);
    else if (event->button() == Qt::RightButton)
        m_input->RightDoubleClick(m_render->AxisX(p.x()), hit);
    emit panelChanged();
}

void CPictView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_input || !m_doc->Data().m_bLoaded)
        return;
    const Qt::MouseButtons buttons = event->buttons();
    if (buttons != Qt::LeftButton && buttons != Qt::RightButton)
        return;
    const QPoint p = event->position().toPoint() * devicePixelRatio();
    m_input->Drag(buttons == Qt::LeftButton, m_render->AxisX(p.x()), p.y(), m_render->HitAt(p.x(), p.y()));
    emit panelChanged();
}

void CPictView::keyPressEvent(QKeyEvent* event) {
    if (!m_input || !m_doc->Data().m_bLoaded) {
        QOpenGLWidget::keyPressEvent(event);
        return;
    }
    const ViewKey key = KeyOf(event->key());
    // A held key arrives as auto-repeated presses of one step each.
    if (m_input->Key(key, 1) == KeyOutcome::PrintReport)
        emit printReportRequested();
    emit panelChanged();
    if (key == ViewKey::Other)
        QOpenGLWidget::keyPressEvent(event);
}

} // namespace zarno
