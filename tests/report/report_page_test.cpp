#include "app/report/emf_writer.h"
#include "app/report/report_language.h"
#include "app/report/report_output.h"
#include "app/report/report_page.h"
#include "app/io/whole_file.h"

#include "tests/support/child_process.h"
#include "tests/support/full_disk.h"
#include "tests/support/recording_prompts.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace zarno;
using zarno::testing::PromptRecord;
using zarno::testing::RunTool;
using zarno::testing::RecordingPrompts;

namespace {

// Fonts and the PDF writer need the application object of the drawing layer, for the whole run.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override { m_app = std::make_unique<QGuiApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[12] = "zarno-test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QGuiApplication> m_app;
};
[[maybe_unused]] ::testing::Environment* const g_gui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

struct SinkCall {
    enum Kind { Fill, Picture, Font, Text } kind;
    QRect rect;
    QPoint at;
    QString text;
    ReportFont font{ReportFontKind::Body, {}, 0, 0};
    QSize pictureSize;
};

class RecordingSink final : public ReportSink {
public:
    std::vector<SinkCall> calls;
    void FillWhite(const QRect& area) override { calls.push_back({SinkCall::Fill, area, {}, {}, {}, {}}); }
    void DrawPicture(const QRect& target, const QImage& picture) override {
        calls.push_back({SinkCall::Picture, target, {}, {}, {}, picture.size()});
    }
    void SelectFont(const ReportFont& font) override { calls.push_back({SinkCall::Font, {}, {}, {}, font, {}}); }
    void DrawText(QPoint topLeft, const QString& text) override {
        calls.push_back({SinkCall::Text, {}, topLeft, text, {}, {}});
    }
    std::vector<SinkCall> texts() const {
        std::vector<SinkCall> out;
        for (const auto& c : calls)
            if (c.kind == SinkCall::Text)
                out.push_back(c);
        return out;
    }
};

ReportSettings EverythingPrinted(Language language = Language::Russian) {
    ReportSettings s;
    s.language = language;
    s.printFileName = s.printOperatorText = s.printPileLength = s.printLengths = s.printVelocity = s.printTime =
        true;
    s.saveToFile = true;
    s.reportFileName = "rep";
    s.fileNameLine = FileNameLine("/data/site/PILE12.sgy", language);
    s.velocityLine = VelocityLine(3600, language);
    s.pileLengthLine = PileLengthLine(11.5, language);
    QByteArray header(3200, '\0');
    header.replace(0, 43, "(y/m/d h:m:s.ms):2026/ 5/ 14  10: 21: 7. 12");
    s.timeLine = TimeLine(header, language);
    s.operatorText = QString(79, 'a') + " конец";
    s.lengthCount = 2;
    s.lengthTexts = {ReportNumber(language, 4.0, 3), ReportNumber(language, 8.5, 3), "- 0 -", "- 0 -", "- 0 -"};
    return s;
}

// A picture with something in it: a white ground, a black diagonal, a red band.
QImage TestPicture(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(0, size.height() - 1, size.width() - 1, 0);
    p.fillRect(0, size.height() / 2, size.width(), size.height() / 10, Qt::red);
    return image;
}

TEST(ReportPage, TextsAndPictureWhereThePageSaysTheyGo) {
    // 2000 × 2500 pixels at 300 dpi: scale 3; text block left 200, width 1600, top 125, line unit 900.
    const PageMetrics page{2000, 2500, 300, 300};
    EXPECT_EQ(page.Scale(), 3);
    EXPECT_EQ(page.PictureFontScale(), 2);
    EXPECT_EQ(ReportPictureSize(page), QSize(800, 675));
    RecordingSink sink;
    DrawReportPage(sink, EverythingPrinted(), page, TestPicture(ReportPictureSize(page)));

    ASSERT_GE(sink.calls.size(), 3u);
    EXPECT_EQ(sink.calls[0].kind, SinkCall::Fill);
    EXPECT_EQ(sink.calls[0].rect, QRect(0, 0, 2000, 2500));
    EXPECT_EQ(sink.calls[1].kind, SinkCall::Picture);
    EXPECT_EQ(sink.calls[1].rect, QRect(200, 1000, 1600, 1350));
    EXPECT_EQ(sink.calls[1].pictureSize, QSize(800, 675));
    EXPECT_EQ(sink.calls[2].kind, SinkCall::Font);
    EXPECT_EQ(sink.calls[2].font.face, "Arial");
    EXPECT_EQ(sink.calls[2].font.height, 72);
    EXPECT_EQ(sink.calls[2].font.weight, 700);
    EXPECT_EQ(sink.calls[4].font.face, "Times New Roman");
    EXPECT_EQ(sink.calls[4].font.height, 48);
    EXPECT_EQ(sink.calls[4].font.weight, 500);

    struct Expected {
        int x, y;
        QString text;
    };
    const Expected expected[] = {
        {920, 125, "Отчёт"},
        {200, 269, "Имя и путь \"SGY\" файла - \"/data/site/PILE12.sgy\";"},
        {200, 341, "Имя файла отчёта - \"rep.wmf\";"},
        {200, 413, "Измерения проводились (y/m/d h:m:s.ms):2026/ 5/ 14  10: 21: 7. 12"},
        {200, 485, "Скорость продольной волны в свае составляет 3600,00 м/с;"},
        {200, 557, "Расчётная длина сваи составляет 11,50 м;"},
        {200, 629, "Комментарий оператора:"},
        {280, 674, QString(79, 'a')},
        {280, 719, " конец"},
        {200, 764, "Длина, м:"},
        {440, 809, "1  :  4,000"},
        {440, 854, "2  :  8,500"},
    };
    const auto texts = sink.texts();
    ASSERT_EQ(texts.size(), std::size(expected));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(expected[i].text.toStdString());
        EXPECT_EQ(texts[i].text, expected[i].text);
        EXPECT_EQ(texts[i].at, QPoint(expected[i].x, expected[i].y));
    }
}

TEST(ReportPage, OnlyTheChosenLines) {
    ReportSettings s = EverythingPrinted();
    s.printFileName = s.printOperatorText = s.printPileLength = s.printVelocity = s.printTime = false;
    s.saveToFile = false;
    s.lengthCount = 0;
    RecordingSink sink;
    DrawReportPage(sink, s, {2000, 2500, 300, 300}, QImage());
    const auto texts = sink.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Отчёт");
    EXPECT_EQ(texts[1].text, "Длина, м:"); // no valid lengths: the heading alone
    for (const auto& c : sink.calls)
        EXPECT_NE(c.kind, SinkCall::Picture);
}

// A report for a reader of English: nothing on the page but the operator's own words is Russian.
TEST(ReportPage, InEnglishOnlyTheOperatorsTextStaysAsTyped) {
    RecordingSink sink;
    DrawReportPage(sink, EverythingPrinted(Language::English), {2000, 2500, 300, 300}, QImage());
    const auto texts = sink.texts();
    ASSERT_EQ(texts.size(), 12u);
    const QRegularExpression cyrillic("[\\x{0400}-\\x{04FF}]");
    for (const auto& t : texts)
        EXPECT_TRUE(t.text == " конец" || !t.text.contains(cyrillic)) << t.text.toStdString();
    EXPECT_EQ(texts[0].text, "Report");
    EXPECT_EQ(texts[4].text, "Longitudinal wave velocity in the pile: 3600.00 m/s;");
    EXPECT_EQ(texts[6].text, "Operator's comment:");
    EXPECT_EQ(texts[9].text, "Lengths, m:");
    EXPECT_EQ(texts[10].text, "1  :  4.000");
}

TEST(ReportPage, WithoutADefaultPrinterTheA4PageOfTheFallback) {
    RecordingPrompts prompts;
    const PageMetrics page = PageMetricsOrFallback(std::nullopt, prompts);
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_EQ(prompts.records[0].kind, PromptRecord::Trace);
    EXPECT_EQ(prompts.records[0].text, "No default printer.\n");
    EXPECT_EQ(page.horzRes, 2480);
    EXPECT_EQ(page.vertRes, 3508);
    EXPECT_EQ(page.dpiX, kFallbackPageDpi);
    EXPECT_EQ(ReportPictureSize(page), QSize(992, 947));

    QSize asked;
    const QImage picture = ReportPictureFor(page, [&asked](QSize size, int) {
        asked = size;
        return TestPicture(size);
    });
    EXPECT_EQ(asked, QSize(992, 947));
    RecordingSink sink;
    DrawReportPage(sink, EverythingPrinted(), page, picture);
    EXPECT_EQ(sink.texts().size(), 12u);

    // A printer that is there is taken as it is, without a trace line.
    RecordingPrompts quiet;
    const PageMetrics printer{4800, 6600, 600, 600};
    EXPECT_EQ(PageMetricsOrFallback(printer, quiet).horzRes, 4800);
    EXPECT_TRUE(quiet.records.empty());
}

TEST(ReportPdf, OneA4PagePerReportReadBackByPoppler) {
    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    QSize pictureSize;
    ReportSettings second = EverythingPrinted();
    second.fileNameLine = FileNameLine("/data/site/PILE13.sgy", Language::Russian);
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ReportPdfWriter pdf(out);
        // A4 at the stated resolution, give or take the writer's rounding of points to pixels.
        EXPECT_NEAR(pdf.Page().horzRes, 2480, 1);
        EXPECT_NEAR(pdf.Page().vertRes, 3508, 1);
        EXPECT_EQ(pdf.Page().dpiX, kFallbackPageDpi);
        pictureSize = ReportPictureSize(pdf.Page());
        const QImage picture = TestPicture(pictureSize);
        pdf.AddPage(EverythingPrinted(), picture);
        pdf.AddPage(second, picture);
        ASSERT_TRUE(pdf.Finish());
    }

    const QString info = RunTool("pdfinfo", {path});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+2"))) << info.toStdString();
    EXPECT_TRUE(info.contains("(A4)")) << info.toStdString();
    const QString text = RunTool("pdftotext", {"-layout", path, "-"});
    for (const char* line : {"Отчёт", "Имя и путь \"SGY\" файла - \"/data/site/PILE12.sgy\";",
                             "Имя и путь \"SGY\" файла - \"/data/site/PILE13.sgy\";", "Имя файла отчёта - \"rep.wmf\";",
                             "Скорость продольной волны в свае составляет 3600,00 м/с;",
                             "Расчётная длина сваи составляет 11,50 м;", "Комментарий оператора:", "конец",
                             "Длина, м:", "1 : 4,000", "2 : 8,500", "Измерения проводились"})
        EXPECT_TRUE(text.simplified().contains(QString::fromUtf8(line))) << line << "\n" << text.toStdString();
    const QStringList images = RunTool("pdfimages", {"-list", path}).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(images.size(), 2 + 2) << images.join('\n').toStdString(); // two heading lines, one picture a page
    const QStringList columns = images[2].simplified().split(' ');
    ASSERT_GE(columns.size(), 5);
    EXPECT_EQ(columns[3].toInt(), pictureSize.width());
    EXPECT_EQ(columns[4].toInt(), pictureSize.height());
    EXPECT_NE(columns[8], "jpeg") << "the picture is stored lossless";
}

TEST(ReportMetafile, HeaderAndRecordsReadByAnOutsideReader) {
    const PageMetrics page = A4PageMetrics();
    const QByteArray emf =
        ReportMetafile(EverythingPrinted(), page, {2100, 2970}, TestPicture(ReportPictureSize(page)));
    ASSERT_GT(emf.size(), 108);
    const auto u32 = [&emf](qsizetype at) { return qFromLittleEndian<quint32>(emf.constData() + at); };
    EXPECT_EQ(u32(0), 1u);                              // header record
    EXPECT_EQ(u32(40), 0x464D4520u);                    // signature
    EXPECT_EQ(u32(48), static_cast<quint32>(emf.size())); // bytes
    EXPECT_EQ(u32(32), 21000u);                         // frame right, 0.01 mm
    EXPECT_EQ(u32(36), 29700u);                         // frame bottom
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(emf.constData() + u32(64)), 5), "Zarno");
    EXPECT_EQ(u32(emf.size() - 20), 14u); // end of file record

    QTemporaryDir dir;
    const QString wmf = dir.filePath("rep.wmf"), svg = dir.filePath("rep.svg");
    ASSERT_EQ(io::WriteWholeFile(wmf, emf), io::WholeFileResult::Written);
    RunTool("emf2svg-conv", {"-i", wmf, "-o", svg});
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(content.contains("Отчёт"));
    EXPECT_TRUE(content.contains("Расчётная длина сваи составляет 11,50 м;"));
    EXPECT_TRUE(content.contains("<image") || content.contains(":image")) << content.left(2000).toStdString();
}

TEST(ReportMetafile, WrittenBesideTheRecordingOrNamedToTheUser) {
    QTemporaryDir work, site;
    const QString sgy = site.filePath("PILE12.sgy");
    const QByteArray emf("not really a metafile, the bytes are what matters here");

    RecordingPrompts prompts;
    EXPECT_TRUE(SaveReportMetafile(emf, "rep", work.path(), sgy, prompts));
    EXPECT_TRUE(prompts.records.empty());
    for (const QString& path : {work.filePath("rep.wmf"), site.filePath("rep.wmf")}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        EXPECT_EQ(f.readAll(), emf);
    }

    // The copy cannot be written (a directory holds its name): the user is told which file is
    // missing, and nothing half-written is left beside the recording.
    QTemporaryDir blocked;
    ASSERT_TRUE(QDir(blocked.path()).mkdir("tmpReportFile.wmf"));
    RecordingPrompts told;
    EXPECT_FALSE(SaveReportMetafile(emf, "tmpReportFile", work.path(), blocked.filePath("PILE12.sgy"), told));
    ASSERT_EQ(told.records.size(), 1u);
    EXPECT_EQ(told.records[0].text, ReportFileNotWrittenText(blocked.filePath("tmpReportFile.wmf")));
    EXPECT_EQ(told.records[0].icon, PromptIcon::Stop);
    EXPECT_EQ(QDir(blocked.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"tmpReportFile.wmf"});
    EXPECT_TRUE(QFile::exists(work.filePath("tmpReportFile.wmf")));
}

// "Сохранить отчёт в файле" onto a full disk: the user is told which file, and the report saved there
// before stays byte for byte.
TEST(ReportMetafile, AFullDiskKeepsTheOldMetafile) {
    zarno::testing::SmallTmpfs work;
    if (!work.mounted())
        GTEST_SKIP() << work.why().toStdString();
    const QString first = work.filePath("rep.wmf");
    ASSERT_EQ(io::WriteWholeFile(first, QByteArray("the good report")), io::WholeFileResult::Written);
    ASSERT_TRUE(work.fillLeaving(4096));
    QTemporaryDir site;
    RecordingPrompts told;
    EXPECT_FALSE(
        SaveReportMetafile(QByteArray(64 * 1024, 'e'), "rep", work.path(), site.filePath("P.sgy"), told));
    ASSERT_FALSE(told.records.empty());
    EXPECT_EQ(told.records[0].text, ReportFileNotWrittenText(first));
    QFile old(first);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "the good report");
    EXPECT_EQ(work.entries(), QStringList{"rep.wmf"});
    EXPECT_EQ(QFile(site.filePath("rep.wmf")).size(), 64 * 1024)
        << "the copy beside the recording is still made";
}

} // namespace
