#include "app/report/report_page.h"

#include "app/report/report_language.h"

#include <algorithm>

namespace zarno {

int PageMetrics::Scale() const {
    return std::max(1, (dpiX + dpiY) / 200);
}

int PageMetrics::PictureFontScale() const {
    return std::max(1, Scale() / 2 + 1);
}

PageMetrics A4PageMetrics(int dpi) {
    // Tenths of a millimetre to pixels, rounded to the nearest pixel.
    const auto pixels = [dpi](int tenthsMm) { return static_cast<int>((tenthsMm * dpi + 127) / 254); };
    return {pixels(kA4WidthTenthsMm), pixels(kA4HeightTenthsMm), dpi, dpi};
}

QSize ReportPictureSize(const PageMetrics& page) {
    return {(2 * page.horzRes / 5) / 4 * 4, 27 * page.vertRes / 100};
}

QRect ReportPictureRect(const PageMetrics& page) {
    return {page.horzRes / 10, 2 * page.vertRes / 5, 4 * page.horzRes / 5, 27 * page.vertRes / 50};
}

ReportFont ReportFontFor(ReportFontKind kind, const PageMetrics& page) {
    if (kind == ReportFontKind::Heading)
        return {kind, QStringLiteral("Arial"), 24 * page.Scale(), 700};
    return {kind, QStringLiteral("Times New Roman"), 16 * page.Scale(), 500};
}

namespace {

// The text block: lines at fractions of the block's width and of its line unit.
class TextBlock {
public:
    TextBlock(ReportSink& sink, const PageMetrics& page)
        : m_sink(sink), m_left(page.horzRes / 10), m_width(4 * page.horzRes / 5), m_top(page.vertRes / 20),
          m_unit(9 * page.vertRes / 25) {}

    void Line(const QString& text, double advance) { LineAt(m_gx, text, advance); }
    void LineAt(double gx, const QString& text, double advance) {
        m_sink.DrawText({static_cast<int>(m_left + m_width * gx), static_cast<int>(m_top + m_unit * m_gy)}, text);
        m_gy += advance;
    }
    void Indent(double dx) { m_gx += dx; }
    void Down(double dy) { m_gy += dy; }

private:
    ReportSink& m_sink;
    int m_left, m_width, m_top, m_unit;
    double m_gx = 0.0, m_gy = 0.0;
};

constexpr double kLineStep = 0.08;
constexpr double kListStep = 0.05;

void DrawTextBlock(ReportSink& sink, const ReportSettings& s, const PageMetrics& page) {
    TextBlock block(sink, page);
    sink.SelectFont(ReportFontFor(ReportFontKind::Heading, page));
    block.LineAt(0.45, ReportText(s.language, QT_TRANSLATE_NOOP("zarno::Report", "Отчёт")), 0.16);
    sink.SelectFont(ReportFontFor(ReportFontKind::Body, page));
    if (s.printFileName)
        block.Line(s.fileNameLine, kLineStep);
    if (s.saveToFile)
        block.Line(ReportFileNameLine(s.reportFileName, s.language), kLineStep);
    if (s.printTime)
        block.Line(s.timeLine, kLineStep);
    if (s.printVelocity)
        block.Line(s.velocityLine, kLineStep);
    if (s.printPileLength)
        block.Line(s.pileLengthLine, kLineStep);
    if (s.printOperatorText) {
        block.Line(ReportText(s.language, QT_TRANSLATE_NOOP("zarno::Report", "Комментарий оператора:")), kListStep);
        block.Indent(0.05);
        for (const QString& line : CommentLines(s.operatorText))
            block.Line(line, kListStep);
        block.Indent(-0.05);
    }
    if (s.printLengths) {
        block.Line(ReportText(s.language, QT_TRANSLATE_NOOP("zarno::Report", "Длина, м:")), kListStep);
        const int count = std::clamp(s.lengthCount, 0, kLengthsListRows);
        for (int n = 1; n <= count; ++n)
            block.LineAt(0.15, QString::asprintf("%d  :  ", n) + s.lengthTexts[static_cast<std::size_t>(n - 1)],
                         kListStep);
    }
}

} // namespace

void DrawReportPage(ReportSink& sink, const ReportSettings& settings, const PageMetrics& page,
                    const QImage& picture) {
    if (page.IsEmpty())
        return;
    sink.FillWhite({0, 0, page.horzRes, page.vertRes});
    if (!picture.isNull())
        sink.DrawPicture(ReportPictureRect(page), picture);
    DrawTextBlock(sink, settings, page);
}

} // namespace zarno
