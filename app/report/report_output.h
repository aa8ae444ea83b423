#pragma once
// The report page sent to its outputs: the page metrics, the picture drawn again for the page,
// a PDF of one A4 page per report, and the metafile with its copy beside the recording.

#include "app/report/report_page.h"
#include "app/seams/prompts.h"

#include <QIODevice>
#include <QSize>

#include <functional>
#include <memory>
#include <optional>

class QPaintDevice;
class QPainter;
class QPdfWriter;

namespace zarno {

// The picture of the current graphs at a size, with the font scale of its labels: the renderer's
// off-screen drawing of the view's layout (white ground, line width 2).
using RenderReportPicture = std::function<QImage(QSize size, int fontScale)>;

PageMetrics MetricsOfDevice(const QPaintDevice& device);

// The page metrics of the default printer, or, on a machine without one, those of an A4 sheet at
// kFallbackPageDpi, so that the page is never empty. Writes the printer's absence to the trace.
PageMetrics PageMetricsOrFallback(const std::optional<PageMetrics>& defaultPrinter, Prompts& prompts);

// The picture for a page; a null image when the page has no room for one or nothing was drawn.
QImage ReportPictureFor(const PageMetrics& page, const RenderReportPicture& render);

// A PDF of A4 pages, one per report, written into a device.
class ReportPdfWriter {
public:
    explicit ReportPdfWriter(QIODevice& out);
    ~ReportPdfWriter();
    ReportPdfWriter(const ReportPdfWriter&) = delete;
    ReportPdfWriter& operator=(const ReportPdfWriter&) = delete;

    PageMetrics Page() const;
    void AddPage(const ReportSettings& settings, const QImage& picture);
    // Ends the document; false when the PDF could not be written.
    bool Finish();

private:
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    int m_pages = 0;
};

// The page as a metafile: frame the paper (0.1 mm), reference device the page.
QByteArray ReportMetafile(const ReportSettings& settings, const PageMetrics& page, QSize paperTenthsMm,
                          const QImage& picture);

// The metafile pass: the file under MetafileName() in workDir and a copy of it in the recording's
// directory. Each file is written whole or not at all; a file that could not be written is named
// to the user. True when both were written.
bool SaveReportMetafile(const QByteArray& metafile, const QString& reportFileName, const QString& workDir,
                        const QString& sgyPath, Prompts& prompts);

// The message for a report file that could not be written.
QString ReportFileNotWrittenText(const QString& path);

} // namespace zarno
