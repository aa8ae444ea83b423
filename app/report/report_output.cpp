#include "app/report/report_output.h"

#include "app/io/whole_file.h"
#include "app/report/emf_writer.h"
#include "app/report/painter_report_sink.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace zarno {

PageMetrics MetricsOfDevice(const QPaintDevice& device) {
    return {device.width(), device.height(), device.logicalDpiX(), device.logicalDpiY()};
}

PageMetrics PageMetricsOrFallback(const std::optional<PageMetrics>& defaultPrinter, Prompts& prompts) {
    if (defaultPrinter && !defaultPrinter->IsEmpty())
        return *defaultPrinter;
    prompts.trace(QStringLiteral("No default printer.\n"));
    return A4PageMetrics();
}

QImage ReportPictureFor(const PageMetrics& page, const RenderReportPicture& render) {
    const QSize size = ReportPictureSize(page);
    if (size.isEmpty() || !render)
        return {};
    return render(size, page.PictureFontScale());
}

ReportPdfWriter::ReportPdfWriter(QIODevice& out) : m_writer(std::make_unique<QPdfWriter>(&out)) {
    m_writer->setCreator(QStringLiteral("Zarno"));
    m_writer->setResolution(kFallbackPageDpi);
    m_writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
}

ReportPdfWriter::~ReportPdfWriter() {
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

PageMetrics ReportPdfWriter::Page() const {
    return MetricsOfDevice(*m_writer);
}

void ReportPdfWriter::AddPage(const ReportSettings& settings, const QImage& picture) {
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(m_writer.get());
    } else {
        m_writer->newPage();
    }
    PainterReportSink sink(*m_painter);
    DrawReportPage(sink, settings, Page(), picture);
    ++m_pages;
}

bool ReportPdfWriter::Finish() {
    if (!m_painter || !m_painter->isActive())
        return false;
    return m_painter->end();
}

QByteArray ReportMetafile(const ReportSettings& settings, const PageMetrics& page, QSize paperTenthsMm,
                          const QImage& picture) {
    EmfReportWriter writer(page, paperTenthsMm);
    DrawReportPage(writer, settings, page, picture);
    return writer.Finish();
}

QString ReportFileNotWrittenText(const QString& path) {
    return QCoreApplication::translate("zarno::Report", "Невозможно записать файл %1")
        .arg(QDir::toNativeSeparators(path));
}

namespace {

bool WriteOrTell(const QString& path, const QByteArray& content, Prompts& prompts) {
    if (io::WriteWholeFile(path, content) == io::WholeFileResult::Written)
        return true;
    prompts.message(ReportFileNotWrittenText(path), QCoreApplication::translate("zarno::Report", "Ошибка"),
                    PromptIcon::Stop);
    return false;
}

} // namespace

bool SaveReportMetafile(const QByteArray& metafile, const QString& reportFileName, const QString& workDir,
                        const QString& sgyPath, Prompts& prompts) {
    const QString name = MetafileName(reportFileName);
    const QString first = QDir(workDir).absoluteFilePath(name);
    const bool firstWritten = WriteOrTell(first, metafile, prompts);
    // The copy is the same bytes written again, so that a failed first file still leaves one.
    const QString copy = QDir(QFileInfo(sgyPath).absolutePath()).absoluteFilePath(name);
    if (QFileInfo(copy).absoluteFilePath() == QFileInfo(first).absoluteFilePath())
        return firstWritten;
    const bool copyWritten = WriteOrTell(copy, metafile, prompts);
    return firstWritten && copyWritten;
}

} // namespace zarno
