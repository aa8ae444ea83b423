#include "app/report/painter_report_sink.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace zarno {

QString InstalledFace(const QString& face) {
    if (face == QLatin1String("Arial"))
        return QStringLiteral("Liberation Sans");
    if (face == QLatin1String("Times New Roman"))
        return QStringLiteral("Liberation Serif");
    return face;
}

QFont QFontOfReport(const ReportFont& font) {
    QFont f(InstalledFace(font.face));
    f.setWeight(static_cast<QFont::Weight>(font.weight));
    // The page gives the height of the character cell (ascent + descent), Qt sizes the em square.
    f.setPixelSize(std::max(1, font.height));
    const double cell = QFontMetricsF(f).height();
    if (cell > 0)
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.height * font.height / cell))));
    return f;
}

void PainterReportSink::FillWhite(const QRect& area) {
    m_painter.fillRect(area, Qt::white);
}

void PainterReportSink::DrawPicture(const QRect& target, const QImage& picture) {
    // Thin graph lines blur under lossy compression; a PDF keeps the picture as it was drawn.
    const bool lossless = m_painter.testRenderHint(QPainter::LosslessImageRendering);
    m_painter.setRenderHint(QPainter::LosslessImageRendering, true);
    m_painter.drawImage(target, picture);
    m_painter.setRenderHint(QPainter::LosslessImageRendering, lossless);
}

void PainterReportSink::SelectFont(const ReportFont& font) {
    m_painter.setFont(QFontOfReport(font));
    m_painter.setPen(Qt::black);
}

void PainterReportSink::DrawText(QPoint topLeft, const QString& text) {
    const QFontMetricsF metrics(m_painter.font());
    m_painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), text);
}

} // namespace zarno
