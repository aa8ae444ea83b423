#include "app/ui/site/pile_views.h"

#include "app/report/pile_strip.h"

#include <QPainter>

#include <cmath>

namespace zarno {

namespace {

// Each pile's strip in the stacked view: tall enough to read an echo, short enough for a screenful.
constexpr double kStackedStripMm = 26.0;
constexpr double kMarginPx = 4.0;

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
    PaintPileStrip(painter, QRectF(rect()).adjusted(kMarginPx, kMarginPx, -kMarginPx, -kMarginPx), *m_pile, m_velocity);
}

CStackedPilesView::CStackedPilesView(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void CStackedPilesView::setSite(const site::SiteResult& site) {
    m_site = site;
    setMinimumHeight(sizeHint().height());
    updateGeometry();
    update();
}

double CStackedPilesView::stripHeightPx() const {
    return kStackedStripMm * logicalDpiY() / 25.4;
}

QSize CStackedPilesView::sizeHint() const {
    return {600, int(std::ceil(double(m_site.piles.size()) * stripHeightPx() + 2 * kMarginPx))};
}

void CStackedPilesView::paintEvent(QPaintEvent*) {
    if (m_site.piles.empty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintStackedPiles(painter, QRectF(rect()).adjusted(kMarginPx, kMarginPx, -kMarginPx, -kMarginPx), m_site.piles,
                      m_site.velocity.value, kStackedStripMm);
}

} // namespace zarno
