#include "app/ui/site/pile_views.h"

#include "app/report/pile_strip.h"

#include <QPainter>

namespace zarno {

namespace {

// Each pile's strip in the stacked view: tall enough to read an echo, short enough for a screenful.
constexpr int kStackedStripHeight = 110;

} // namespace

CPileTraceView::CPileTraceView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(260, 160);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void CPileTraceView::setPile(const site::PileResult* pile, std::optional<double> velocity) {
    m_pile = pile ? std::optional(*pile) : std::nullopt;
    m_velocity = velocity;
    update();
}

void CPileTraceView::paintEvent(QPaintEvent*) {
    if (!m_pile)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintPileStrip(painter, QRectF(rect()).adjusted(4, 4, -4, -4), *m_pile, m_velocity);
}

CStackedPilesView::CStackedPilesView(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void CStackedPilesView::setSite(const site::SiteResult& site) {
    m_site = site;
    setMinimumHeight(int(m_site.piles.size()) * kStackedStripHeight + 8);
    updateGeometry();
    update();
}

QSize CStackedPilesView::sizeHint() const {
    return {600, int(m_site.piles.size()) * kStackedStripHeight + 8};
}

void CStackedPilesView::paintEvent(QPaintEvent*) {
    if (m_site.piles.empty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintStackedPiles(painter, QRectF(rect()).adjusted(4, 4, -4, -4), m_site);
}

} // namespace zarno
