#pragma once
// Our enhanced-metafile writer for the report page ("Сохранить отчёт в файле"): the header with
// the page's bounds, its frame in 0.01 mm and the description "Zarno"; the two fonts; every text
// as a Unicode text record with its character advances; the picture as one stretched
// device-independent bitmap record; end of file. Logical units are the reference device's pixels
// (the page metrics), so the file shows the same page as the printer.

#include "app/report/report_page.h"

#include <QByteArray>
#include <QSize>

#include <array>

namespace zarno {

class EmfReportWriter final : public ReportSink {
public:
    // paperTenthsMm: the sheet in 0.1 mm (the frame); page: the reference device the page is
    // composed for.
    EmfReportWriter(const PageMetrics& page, QSize paperTenthsMm);

    void FillWhite(const QRect& area) override;
    void DrawPicture(const QRect& target, const QImage& picture) override;
    void SelectFont(const ReportFont& font) override;
    void DrawText(QPoint topLeft, const QString& text) override;

    // The whole file: header, the records drawn so far, the objects deleted, end of file.
    QByteArray Finish() const;

private:
    void Append(const QByteArray& record);
    quint32 NewHandle() { return m_nextHandle++; }

    PageMetrics m_page;
    QSize m_paper;
    QByteArray m_body;
    quint32 m_records = 0;
    quint32 m_nextHandle = 1; // handle 0 is the metafile itself
    std::array<quint32, 2> m_fontHandles{};
    ReportFont m_font{ReportFontKind::Body, {}, 0, 0};
};

} // namespace zarno
