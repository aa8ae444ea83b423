#include "app/ui/report_command.h"

#include "app/report/painter_report_sink.h"
#include "app/report/report_output.h"
#include "app/report/report_picture.h"
#include "app/ui/print_report_dialog.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <optional>
#include <QCoreApplication>

namespace zarno {

namespace {

std::optional<PageMetrics> DefaultPrinterMetrics() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return std::nullopt;
    const QPrinter printer(info, QPrinter::HighResolution);
    return MetricsOfDevice(printer);
}

// The sheet in 0.1 mm; A4 when the printer does not say.
QSize PaperTenthsMm(const QPrinter& printer) {
    const QSizeF mm = printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
    const int width = static_cast<int>(std::lround(mm.width() * 10));
    const int height = static_cast<int>(std::lround(mm.height() * 10));
    return {width > 0 ? width : kA4WidthTenthsMm, height > 0 ? height : kA4HeightTenthsMm};
}

// The picture for the page; a picture that cannot be drawn abandons the page, as the user is told.
QImage PictureOrTell(const PageMetrics& page, const CGraphScene& scene, const GraphPicture& frame, Prompts& prompts) {
    QString error;
    QImage picture = ReportPictureFor(page, ViewPictureRenderer(scene, frame, &error));
    if (picture.isNull()) {
        prompts.trace(error + '\n');
        prompts.message(QStringLiteral("ChoosePixelFormat::Error"), QStringLiteral("Error!"), PromptIcon::Stop);
    }
    return picture;
}

void SaveToFile(QWidget* parent, const ReportSettings& settings, const QString& sgyPath, const CGraphScene& scene,
                const GraphPicture& frame, Prompts& prompts) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const PageMetrics page = PageMetricsOrFallback(DefaultPrinterMetrics(), prompts);
    const QImage picture = PictureOrTell(page, scene, frame, prompts);
    if (picture.isNull())
        return;
    // A bare name is the recording's report: it goes beside the recording. The program's current
    // folder is wherever the desktop started it, often "/" or the home folder.
    SaveReportMetafile(ReportMetafile(settings, page, PaperTenthsMm(printer), picture), settings.reportFileName,
                       QFileInfo(sgyPath).absolutePath(), sgyPath, prompts);
}

void Print(QWidget* parent, const ReportSettings& settings, const CGraphScene& scene, const GraphPicture& frame,
           Prompts& prompts) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setFromTo(1, 1);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, 1);
    if (dialog.exec() != QDialog::Accepted)
        return;
    TracePrinter(printer, prompts);
    // The page is composed for the printer it goes to: a page composed for another printer's
    // resolution would come out at the wrong size.
    const PageMetrics page = MetricsOfDevice(printer);
    const QImage picture = PictureOrTell(page, scene, frame, prompts);
    if (picture.isNull())
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString where = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        prompts.message(ReportFileNotWrittenText(where), QCoreApplication::translate("zarno", "Ошибка"), PromptIcon::Stop);
        return;
    }
    PainterReportSink sink(painter);
    DrawReportPage(sink, settings, page, picture);
    if (!painter.end())
        prompts.message(ReportFileNotWrittenText(printer.outputFileName()), QCoreApplication::translate("zarno", "Ошибка"),
                        PromptIcon::Stop);
}

} // namespace

void TracePrinter(const QPrinter& printer, Prompts& prompts) {
    // Qt draws and stretches images on every printer: both capabilities are there.
    prompts.trace(QStringLiteral("You selected printer '%1'\n").arg(printer.printerName()));
    prompts.trace(QString::asprintf("BitsPerPixel           = %d\n", printer.depth()));
    prompts.trace(QString::asprintf("NumColor               = %d\n", printer.colorCount()));
    prompts.trace(QString::asprintf("NumBitPlanes           = %d\n", 1));
    prompts.trace(QString::asprintf("ColorResolution        = %d\n", printer.depth()));
    prompts.trace(QString::asprintf("Supports StretchBlt    = %d\n", 1));
    prompts.trace(QString::asprintf("Supports StretchDIBits = %d\n", 1));
}

void RunReportCommand(QWidget* parent, CPrintReport& dialog, ReportSettings& settings, const ReportSource& source,
                      const CGraphScene& scene, const GraphPicture& frame, Prompts& prompts) {
    dialog.Start(settings);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ApplyReportDialog(settings, dialog.State(), source);
    if (settings.saveToFile)
        SaveToFile(parent, settings, source.sgyPath, scene, frame, prompts);
    else
        Print(parent, settings, scene, frame, prompts);
    settings.used = true;
}

} // namespace zarno
