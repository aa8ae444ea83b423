#include "app/ui/path_form.h"

namespace zarno {

CPathForm::CPathForm(CMainFrame&, int panel, QWidget* parent) : QLabel(parent), m_panel(panel) {
    setObjectName(QStringLiteral("CPathForm"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(200, 220, 255));
    setPalette(colours);
    setContentsMargins(4, 0, 4, 0);
    setTextFormat(Qt::PlainText);
    setMinimumHeight(14);
}

} // namespace zarno
