#include "app/ui/path_form.h"

namespace zarno {

CPathForm::CPathForm(CMainFrame&, int panel, QWidget* parent) : QLabel(parent), m_panel(panel) {
    setObjectName(QStringLiteral("CPathForm"));
    setAutoFillBackground(true);
    setActive(true);
    setContentsMargins(4, 0, 4, 0);
    setTextFormat(Qt::PlainText);
    setMinimumHeight(14);
}

void CPathForm::setActive(bool active) {
    m_active = active;
    QPalette colours = palette();
    colours.setColor(QPalette::Window, active ? QColor(200, 220, 255) : QColor(232, 232, 232));
    colours.setColor(QPalette::WindowText, active ? QColor(Qt::black) : QColor(110, 110, 110));
    setPalette(colours);
}

} // namespace zarno
