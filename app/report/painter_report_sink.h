#pragma once
// The report page on a QPainter: a printer, a PDF writer or an image. The page's device units are
// the painter's device pixels, so the painter must carry no transformation.

#include "app/report/report_page.h"

#include <QFont>

class QPainter;

namespace zarno {

// The installed metric twin of a face the page asks for ("Arial" → "Liberation Sans",
// "Times New Roman" → "Liberation Serif"); other faces are kept.
QString InstalledFace(const QString& face);
// The font of the page at its cell height in pixels.
QFont QFontOfReport(const ReportFont& font);

class PainterReportSink final : public ReportSink {
public:
    explicit PainterReportSink(QPainter& painter) : m_painter(painter) {}
    void FillWhite(const QRect& area) override;
    void DrawPicture(const QRect& target, const QImage& picture) override;
    void SelectFont(const ReportFont& font) override;
    void DrawText(QPoint topLeft, const QString& text) override;

private:
    QPainter& m_painter;
};

} // namespace zarno
