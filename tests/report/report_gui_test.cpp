// The report dialog's rules on the real form, and the report command saving a metafile, with the
// dialogs answered as a user answers them.
#include "app/render/graph_setup.h"
#include "app/ui/print_report_dialog.h"
#include "app/ui/report_command.h"
#include "app/viewer/pict_load.h"
#include "app/viewer/viewer_paint.h"

#include "tests/support/gui_app.h"
#include "tests/support/recording_prompts.h"
#include "tests/support/sgy_fixture.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace zarno;
using zarno::testing::RecordingPrompts;
using zarno::testing::WhenModal;

namespace {

[[maybe_unused]] ::testing::Environment* const g_gui =
    ::testing::AddGlobalTestEnvironment(new zarno::testing::GuiApplication);

QCheckBox* Check(CPrintReport& d, int id) {
    return d.findChild<QCheckBox*>(QString::number(id));
}

TEST(PrintReportDialog, StartStateAndEnablingRules) {
    CPrintReport dialog;
    dialog.Start(ReportSettings{});
    for (const int id : {1090, 1091, 1099, 1092, 1093, 1095})
        EXPECT_TRUE(Check(dialog, id)->isChecked()) << id;
    EXPECT_FALSE(Check(dialog, 1094)->isChecked());
    auto* name = dialog.findChild<QLineEdit*>("1096");
    auto* comment = dialog.findChild<QPlainTextEdit*>("1089");
    EXPECT_EQ(name->text(), "tmpReportFile");
    EXPECT_FALSE(name->isEnabled());
    EXPECT_TRUE(comment->isEnabled());

    QTest::mouseClick(Check(dialog, 1094), Qt::LeftButton);
    EXPECT_TRUE(name->isEnabled());
    EXPECT_TRUE(dialog.State().saveToFile);
    QTest::mouseClick(Check(dialog, 1093), Qt::LeftButton);
    EXPECT_FALSE(comment->isEnabled());
    EXPECT_FALSE(dialog.State().operatorText);
    name->selectAll();
    QTest::keyClicks(name, "rep.emf");
    EXPECT_EQ(dialog.State().reportFileName, "rep.emf");
    comment->setFocus();
    comment->setPlainText("Свая 7");
    EXPECT_EQ(dialog.State().comment, "Свая 7");
}

struct OpenedRecording {
    QTemporaryDir site, work;
    ViewerDisplaySettings display;
    CPictDoc doc{display};
    dsp::FilterSettings filter{};
    ViewState view;
    CGraphScene scene;
    RecordingPrompts prompts;

    OpenedRecording() {
        std::vector<double> trace(512);
        for (std::size_t i = 0; i < trace.size(); ++i)
            trace[i] = std::exp(-double(i) / 30.0) * std::sin(double(i) / 5.0);
        const QString path = site.filePath("PILE12.sgy");
        EXPECT_TRUE(zarno::testing::SgyFixture::OfSamples({trace}).write(path));
        PictLoadOptions options;
        options.settingsFiles = dsp::MissingFile::Leave;
        EXPECT_TRUE(LoadPictDoc(doc, path, prompts, filter, options));
        view.markers.position = {100, 0, 0, 0, 0};
        SetUpGraphs(scene, SignalGraphsOf(doc), SpectrumGraphsOf(doc));
    }
    ReportSource Source() const {
        const LengthsList lengths = ComputeLengthsList(view.markers.position, doc.Data().m_nZeroSample,
                                                       doc.SampleIntervalSeconds(), doc.Data().m_dVelocity);
        return ReportSourceOf(doc, lengths, 0);
    }
};

TEST(ReportCommand, SavesTheMetafileBesideTheRecordingThenKeepsTheChoices) {
    ReportSettings settings;
    OpenedRecording r;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(r.work.path()));
    CPrintReport dialog;

    WhenModal<CPrintReport>([](CPrintReport* d) {
        QTest::mouseClick(Check(*d, 1094), Qt::LeftButton);
        auto* name = d->findChild<QLineEdit*>("1096");
        name->selectAll();
        QTest::keyClicks(name, "rep.emf");
        WhenModal<QPrintDialog>([](QPrintDialog* p) { p->accept(); });
        d->accept();
    });
    RunReportCommand(nullptr, dialog, settings, r.Source(), r.scene, PaintDescription(r.doc, r.view), r.prompts);
    // Beside the recording, wherever the program was started.
    EXPECT_TRUE(QFile::exists(r.site.filePath("rep.wmf")));
    EXPECT_FALSE(QFile::exists(r.work.filePath("rep.wmf")));
    EXPECT_TRUE(settings.used);
    EXPECT_EQ(settings.reportFileName, "rep");
    EXPECT_EQ(settings.lengthCount, 1);
    if (QPrinterInfo::defaultPrinter().isNull()) {
        const bool traced = std::any_of(r.prompts.records.begin(), r.prompts.records.end(),
                                        [](const auto& p) { return p.text == "No default printer.\n"; });
        EXPECT_TRUE(traced);
    }
    EXPECT_TRUE(r.prompts.texts().empty()) << r.prompts.texts().front().toStdString();

    // The second opening starts from the confirmed choices; Cancel leaves everything as it was.
    ReportDialogState seen;
    WhenModal<CPrintReport>([&seen](CPrintReport* d) {
        seen = d->State();
        d->reject();
    });
    RunReportCommand(nullptr, dialog, settings, r.Source(), r.scene, PaintDescription(r.doc, r.view), r.prompts);
    EXPECT_TRUE(seen.saveToFile);
    EXPECT_EQ(seen.reportFileName, "rep");
    EXPECT_EQ(seen.comment, "");
    QDir::setCurrent(before);
}

TEST(ReportCommand, PrintsThePageToThePrinterChosen) {
    ReportSettings settings;
    OpenedRecording r;
    const QString pdf = r.work.filePath("printed.pdf");
    CPrintReport dialog;
    WhenModal<CPrintReport>([pdf](CPrintReport* d) {
        WhenModal<QPrintDialog>([pdf](QPrintDialog* p) {
            // As if "print to file" were chosen in the dialog, without depending on its widgets.
            p->printer()->setOutputFormat(QPrinter::PdfFormat);
            p->printer()->setOutputFileName(pdf);
            p->done(QDialog::Accepted);
        });
        d->accept();
    });
    RunReportCommand(nullptr, dialog, settings, r.Source(), r.scene, PaintDescription(r.doc, r.view), r.prompts);
    ASSERT_TRUE(QFile::exists(pdf)) << (r.prompts.texts().empty() ? "" : r.prompts.texts().front().toStdString());
    const auto traced = [&r](const QString& start) {
        return std::any_of(r.prompts.records.begin(), r.prompts.records.end(),
                           [&](const auto& p) { return p.text.startsWith(start); });
    };
    EXPECT_TRUE(traced("You selected printer '"));
    EXPECT_TRUE(traced("Supports StretchDIBits = 1\n"));
    EXPECT_TRUE(r.prompts.texts().empty());
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(60000));
    const QString content = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(content.contains("Отчёт"));
    EXPECT_TRUE(content.contains("Длина, м:"));
    EXPECT_TRUE(content.contains("1 : 18,000")) << content.toStdString(); // 100 samples of 100 µs at 3600 m/s
}

} // namespace
