#pragma once
// The one-page measurement report, composed once and drawn into interchangeable sinks: a QPainter
// (printer, PDF), the enhanced-metafile writer, or a recording sink in tests. Device units
// throughout: the page is HORZRES × VERTRES pixels of the output device.

#include "app/report/report_model.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace zarno {

// The printable area and resolution of the output device.
struct PageMetrics {
    int horzRes = 0; // HORZRES: printable width in pixels
    int vertRes = 0; // VERTRES
    int dpiX = 0;    // LOGPIXELSX
    int dpiY = 0;    // LOGPIXELSY

    bool IsEmpty() const { return horzRes <= 0 || vertRes <= 0 || dpiX <= 0 || dpiY <= 0; }
    // The page's text scale: one unit per 100 dots per inch, at least 1.
    int Scale() const;
    // The font scale the picture's labels are rendered with.
    int PictureFontScale() const;
};

// The resolution of the A4 page used when there is no printer to ask: PDF output and the
// metafile of a machine without a default printer.
inline constexpr int kFallbackPageDpi = 300;
inline constexpr int kA4WidthTenthsMm = 2100;
inline constexpr int kA4HeightTenthsMm = 2970;
// A whole A4 sheet at kFallbackPageDpi (2480 × 3508 pixels).
PageMetrics A4PageMetrics(int dpi = kFallbackPageDpi);

// The off-screen picture the renderer draws: 2/5 of the page width (a multiple of 4, so that its
// 24-bit rows need no padding) by 27/100 of the page height.
QSize ReportPictureSize(const PageMetrics& page);
// Where the picture goes on the page: stretched to twice its size below the text block.
QRect ReportPictureRect(const PageMetrics& page);

enum class ReportFontKind { Heading, Body };

struct ReportFont {
    ReportFontKind kind;
    QString face; // the face the page asks for; a sink maps it to a font it has
    int height;   // cell height in device pixels
    int weight;   // 100 … 900
};
ReportFont ReportFontFor(ReportFontKind kind, const PageMetrics& page);

// What the page composition draws with. Text positions are the top left of the text cell.
class ReportSink {
public:
    virtual ~ReportSink() = default;
    virtual void FillWhite(const QRect& area) = 0;
    virtual void DrawPicture(const QRect& target, const QImage& picture) = 0;
    virtual void SelectFont(const ReportFont& font) = 0;
    virtual void DrawText(QPoint topLeft, const QString& text) = 0;
};

// Draws the page: white ground, the picture (when there is one) and the text block of the chosen
// lines. Nothing is drawn on a page without metrics.
void DrawReportPage(ReportSink& sink, const ReportSettings& settings, const PageMetrics& page,
                    const QImage& picture);

} // namespace zarno
