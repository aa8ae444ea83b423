#include "app/report/report_model.h"

#include "app/analysis/pile_model.h"
#include "app/report/report_language.h"

#include <gtest/gtest.h>

using namespace zarno;

namespace {

QByteArray TextHeader(const QByteArray& text) {
    QByteArray block(3200, '\0');
    block.replace(0, text.size(), text);
    return block;
}

TEST(ReportDialog, FirstOpeningThenTheKeptState) {
    ReportSettings settings;
    const ReportDialogState first = DialogStartState(settings, Language::English);
    EXPECT_TRUE(first.comment.isEmpty());
    EXPECT_TRUE(first.fileName && first.lengths && first.velocity && first.operatorText && first.time &&
                first.pileLength);
    EXPECT_FALSE(first.saveToFile);
    EXPECT_EQ(first.reportFileName, "tmpReportFile");
    EXPECT_TRUE(first.CommentEditEnabled());
    EXPECT_FALSE(first.ReportFileNameEditEnabled());
    EXPECT_EQ(first.language, Language::English); // the program's, until a report was made

    ReportDialogState edited = first;
    edited.comment = "Свая 12";
    edited.velocity = false;
    edited.operatorText = false;
    edited.saveToFile = true;
    edited.reportFileName = "rep.emf";
    edited.language = Language::Russian;
    EXPECT_FALSE(edited.CommentEditEnabled());
    EXPECT_TRUE(edited.ReportFileNameEditEnabled());
    // Confirmed once: the next opening starts from what was confirmed.
    ApplyReportDialog(settings, edited, ReportSource{});
    settings.used = true;
    const ReportDialogState second = DialogStartState(settings, Language::English);
    EXPECT_EQ(second.comment, "Свая 12");
    EXPECT_FALSE(second.velocity);
    EXPECT_FALSE(second.operatorText);
    EXPECT_TRUE(second.saveToFile);
    EXPECT_TRUE(second.fileName);
    EXPECT_EQ(second.reportFileName, "rep");
    EXPECT_EQ(second.language, Language::Russian); // the report's, whatever the program speaks
    EXPECT_EQ(ReportFileNameLine(settings.reportFileName, Language::Russian), "Имя файла отчёта - \"rep.wmf\";");

    // A new view starts over.
    const ReportSettings fresh;
    EXPECT_EQ(DialogStartState(fresh, Language::Russian).comment, "");
    EXPECT_EQ(fresh.reportFileName, "tmpReportFile");
}

TEST(ReportLines, FromTheDocument) {
    ReportSettings settings;
    const QByteArray header = TextHeader(QByteArray("C 1 Zarno\0garbage after the end (y/m", 36));
    const std::array<int, 5> markers{40, 20, 0, 0, 0};
    ReportSource source{"/data/site/PILE12.sgy", 3600.0, 11.9876, header,
                        ComputeLengthsList(markers, 0, 1e-4, 4000.0)};
    ApplyReportDialog(settings, ReportDialogState{}, source);
    EXPECT_EQ(settings.fileNameLine, "Имя и путь \"SGY\" файла - \"/data/site/PILE12.sgy\";");
    EXPECT_EQ(settings.velocityLine, "Скорость продольной волны в свае составляет 3600,00 м/с;");
    EXPECT_EQ(settings.pileLengthLine, "Расчётная длина сваи составляет 11,99 м;");
    // The header's text ends at its first NUL: the "(y/m" after it is not the measurement's time.
    EXPECT_EQ(settings.timeLine, "Информация о времени измерений отсутствует");
    EXPECT_EQ(settings.lengthCount, 2);
    EXPECT_EQ(settings.lengthTexts[0], "4,000");
    EXPECT_EQ(settings.lengthTexts[1], "8,000");
    EXPECT_EQ(settings.lengthTexts[2], "- 0 -");

    // No toe found: the line says so instead of a length.
    source.pileLength.reset();
    ApplyReportDialog(settings, ReportDialogState{}, source);
    EXPECT_EQ(settings.pileLengthLine, "Отражение от нижнего конца сваи не найдено;");
}

TEST(ReportLines, TheDocumentsPart) {
    ViewerDisplaySettings display;
    CPictDoc doc(display);
    PictDocData content;
    content.m_strPath = "/data/PILE7.sgy";
    content.m_dVelocity = 4000.0;
    content.m_nSampleIntervalUs = 50;
    content.m_nTraceCount = 2;
    // Two blows on modelled piles of 6.25 and 7.5 m; the document's own lengths (the reflection search's) differ,
    // so the line shows whose length it prints.
    for (std::size_t t = 0; t < 2; ++t) {
        analysis::PileModel pile;
        pile.lengthM = t == 0 ? 6.25 : 7.5;
        pile.velocityMps = 4000.0;
        analysis::BlowRecording blow;
        blow.sampleRateHz = 20000;
        blow.samples = 1024;
        content.m_pRaw[t] = analysis::SimulateBlow(pile, blow);
    }
    content.m_dLength = {12.5, 15.0};
    const char time[] = "(y/m/d h:m:s.ms):2026/ 5/ 14";
    std::copy(std::begin(time), std::end(time), content.m_textHeader.begin());
    doc.TakeRecording(std::move(content));
    LengthsList lengths;
    lengths.count = 1;
    lengths.texts[0] = "3.000";
    // The length printed is the search trace's toe; a trace the document has not is not read.
    const struct {
        int searchTrace;
        double length;
    } cases[] = {{0, 6.25}, {1, 7.5}, {5, 7.5}, {-1, 6.25}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.searchTrace);
        const ReportSource source = ReportSourceOf(doc, lengths, c.searchTrace);
        ASSERT_TRUE(source.pileLength);
        EXPECT_NEAR(*source.pileLength, c.length, 0.1); // one sample is 0.1 m
        EXPECT_EQ(source.sgyPath, "/data/PILE7.sgy");
        EXPECT_EQ(source.velocity, 4000.0);
        EXPECT_EQ(TimeLine(source.textHeader, Language::Russian), "Измерения проводились (y/m/d h:m:s.ms):2026/ 5/ 14");
        EXPECT_EQ(source.lengths.texts[0], "3.000");
    }
    // A trace without a toe echo (only the blow and noise): no length.
    PictDocData quiet = doc.Data();
    quiet.m_pRaw[0].assign(1024, 0.0);
    quiet.m_pRaw[0][100] = 1.0;
    doc.TakeRecording(std::move(quiet));
    EXPECT_FALSE(ReportSourceOf(doc, lengths, 0).pileLength);
}

TEST(ReportLines, TimeLine) {
    EXPECT_EQ(TimeLine(TextHeader("C 1 Time of creation (y/m/d h:m:s.ms):2026/05/14 10:21:07.125"), Language::Russian),
              "Измерения проводились (y/m/d h:m:s.ms):2026/05/14 10:21:07.125");
    EXPECT_EQ(TimeLine(TextHeader("C 1 no time here"), Language::Russian), "Информация о времени измерений отсутствует");
    EXPECT_EQ(TimeLine(QByteArray(3200, '\0'), Language::Russian), "Информация о времени измерений отсутствует");
    // Without a NUL the whole block is the text, up to its last character.
    EXPECT_EQ(TimeLine(QByteArray(3196, ' ') + "(y/m", Language::Russian), "Измерения проводились (y/m");
}

TEST(ReportLines, NumberFormats) {
    EXPECT_EQ(VelocityLine(0.0, Language::Russian), "Скорость продольной волны в свае составляет 0,00 м/с;");
    EXPECT_EQ(VelocityLine(4123.456, Language::Russian), "Скорость продольной волны в свае составляет 4123,46 м/с;");
    EXPECT_EQ(PileLengthLine(0.005, Language::Russian), "Расчётная длина сваи составляет 0,01 м;");
    EXPECT_EQ(PileLengthLine(123.0, Language::Russian), "Расчётная длина сваи составляет 123,00 м;");
}

TEST(ReportLines, ReportFileNames) {
    struct Case {
        const char *edited, *kept, *metafile;
    };
    const Case cases[] = {
        {"rep.emf", "rep", "rep.wmf"},
        {"tmpReportFile", "tmpReportFile", "tmpReportFile.wmf"},
        {"a.b.c", "a", "a.wmf"},
        {"отчёт", "отчёт", "отчёт.wmf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edited);
        const QString kept = KeptReportFileName(QString::fromUtf8(c.edited));
        EXPECT_EQ(kept, QString::fromUtf8(c.kept));
        EXPECT_EQ(MetafileName(kept), QString::fromUtf8(c.metafile));
    }
}

TEST(ReportLines, CommentBreaks) {
    QString hundred(100, 'x');
    hundred[79] = ' ';
    QString spaceless(200, 'y');
    QString secondStartsWithBlank = QString(79, 'a') + ' ' + QString(100, 'b');
    struct Case {
        const char* what;
        QString comment;
        QStringList lines;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"seven characters", "Свая 12", {"Свая 12"}},
        {"exactly 82", QString(82, 'z'), {QString(82, 'z')}},
        {"blank at 79", hundred, {hundred.left(79), hundred.mid(79)}},
        {"the last of blank, full stop, comma", QString(60, 'a') + ", " + QString(10, 'b') + "." + QString(30, 'c'),
         {QString(60, 'a') + ", " + QString(10, 'b'), "." + QString(30, 'c')}},
        // A stretch without a break is cut and continued: nothing of the comment is dropped.
        {"no break", spaceless, {spaceless.left(82), spaceless.mid(82, 82), spaceless.mid(164)}},
        {"a line that starts with its only blank", secondStartsWithBlank,
         {QString(79, 'a'), ' ' + QString(81, 'b'), QString(19, 'b')}},
        {"line feeds end lines", "первая\r\nвторая\n\nчетвёртая\n", {"первая", "вторая", "", "четвёртая"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QStringList lines = CommentLines(c.comment);
        EXPECT_EQ(lines, c.lines);
        for (const QString& line : lines)
            EXPECT_LE(line.size(), 82);
    }
}

// A report for a reader of the other language: every line of it in that language, the numbers with
// its decimal mark, whatever language the program speaks.
TEST(ReportLines, InTheReportsLanguage) {
    const std::array<int, 5> markers{40, 20, 0, 0, 0};
    const QByteArray header = TextHeader("C 1 Time of creation (y/m/d h:m:s.ms):2026/05/14 10:21:07.125");
    ReportSource source{"/data/PILE12.sgy", 3600.0, 11.9876, header,
                        ComputeLengthsList(markers, 0, 1e-4, 4000.0)};
    ReportDialogState dialog;
    dialog.language = Language::English;
    ReportSettings settings;
    ApplyReportDialog(settings, dialog, source);
    EXPECT_EQ(settings.language, Language::English);
    EXPECT_EQ(settings.fileNameLine, "SGY file name and path - \"/data/PILE12.sgy\";");
    EXPECT_EQ(settings.velocityLine, "Longitudinal wave velocity in the pile: 3600.00 m/s;");
    EXPECT_EQ(settings.pileLengthLine, "Calculated pile length: 11.99 m;");
    EXPECT_EQ(settings.timeLine, "Measured (y/m/d h:m:s.ms):2026/05/14 10:21:07.125");
    EXPECT_EQ(settings.lengthTexts[1], "8.000");
    EXPECT_EQ(ReportFileNameLine("rep", Language::English), "Report file name - \"rep.wmf\";");
    EXPECT_EQ(ToeNotFoundLine(Language::English), "No reflection from the pile toe found;");
    EXPECT_EQ(TimeLine(TextHeader("C 1"), Language::English), "No measurement time recorded");
    // Russian numbers take a decimal comma and no digit grouping, negative ones too.
    EXPECT_EQ(ReportNumber(Language::Russian, -12345.678, 2), "-12345,68");
    EXPECT_EQ(ReportNumber(Language::English, -12345.678, 2), "-12345.68");
}

} // namespace
