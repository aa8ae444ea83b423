#include "app/report/report_model.h"

#include "app/analysis/toe_finder.h"
#include "app/formats/sgy_io.h"
#include "app/report/report_language.h"

#include <algorithm>

namespace zarno {

ReportDialogState DialogStartState(const ReportSettings& settings, Language programLanguage) {
    ReportDialogState state;
    if (!settings.used) {
        state.language = programLanguage;
        return state;
    }
    state.language = settings.language;
    state.comment = settings.operatorText;
    state.fileName = settings.printFileName;
    state.lengths = settings.printLengths;
    state.velocity = settings.printVelocity;
    state.operatorText = settings.printOperatorText;
    state.reportFileName = settings.reportFileName;
    state.time = settings.printTime;
    state.saveToFile = settings.saveToFile;
    state.pileLength = settings.printPileLength;
    return state;
}

ReportSource ReportSourceOf(const CPictDoc& doc, const LengthsList& lengths, int searchTrace) {
    const auto trace = static_cast<std::size_t>(std::clamp(searchTrace, 0, kPictTraces - 1));
    const PictDocData& data = doc.Data();
    const analysis::ToeResult toe =
        analysis::FindToe(data.m_pRaw[trace], doc.SampleIntervalSeconds(), data.m_dVelocity);
    return {data.m_strPath, data.m_dVelocity, toe.found ? std::optional(toe.lengthM) : std::nullopt,
            QByteArrayView(data.m_textHeader.data(), static_cast<qsizetype>(data.m_textHeader.size())),
            lengths};
}

void ApplyReportDialog(ReportSettings& settings, const ReportDialogState& dialog, const ReportSource& source) {
    const Language language = dialog.language;
    settings.language = language;
    settings.fileNameLine = FileNameLine(source.sgyPath, language);
    settings.printFileName = dialog.fileName;
    settings.velocityLine = VelocityLine(source.velocity, language);
    settings.printVelocity = dialog.velocity;
    settings.pileLengthLine =
        source.pileLength ? PileLengthLine(*source.pileLength, language) : ToeNotFoundLine(language);
    settings.printPileLength = dialog.pileLength;
    settings.operatorText = dialog.comment;
    settings.printOperatorText = dialog.operatorText;
    settings.printLengths = dialog.lengths;
    settings.lengthCount = source.lengths.count;
    settings.lengthTexts = source.lengths.texts;
    // The panel shows the lengths with a decimal point; the page writes them as its language does.
    for (int n = 0; n < std::clamp(source.lengths.count, 0, kLengthsListRows); ++n)
        settings.lengthTexts[std::size_t(n)] = ReportNumber(language, source.lengths.entries[std::size_t(n)], 3);
    settings.printTime = dialog.time;
    settings.timeLine = TimeLine(source.textHeader, language);
    settings.saveToFile = dialog.saveToFile;
    settings.reportFileName = KeptReportFileName(dialog.reportFileName);
}

QString FileNameLine(const QString& sgyPath, Language language) {
    return ReportText(language, QT_TRANSLATE_NOOP("zarno::Report", "Имя и путь \"SGY\" файла - \"%1\";")).arg(sgyPath);
}

QString VelocityLine(double velocity, Language language) {
    return ReportText(language, QT_TRANSLATE_NOOP("zarno::Report", "Скорость продольной волны в свае составляет %1 м/с;"))
        .arg(ReportNumber(language, velocity, 2));
}

QString PileLengthLine(double length, Language language) {
    return ReportText(language, QT_TRANSLATE_NOOP("zarno::Report", "Расчётная длина сваи составляет %1 м;"))
        .arg(ReportNumber(language, length, 2));
}

QString ToeNotFoundLine(Language language) {
    return ReportText(language, QT_TRANSLATE_NOOP("zarno::Report", "Отражение от нижнего конца сваи не найдено;"));
}

QString TimeLine(QByteArrayView textHeader, Language language) {
    const QString text = SGYTextualHeaderText(textHeader);
    const qsizetype at = text.indexOf(QStringLiteral("(y/m"));
    if (at < 0)
        return ReportText(language, QT_TRANSLATE_NOOP("zarno::Report", "Информация о времени измерений отсутствует"));
    return ReportText(language, QT_TRANSLATE_NOOP("zarno::Report", "Измерения проводились %1")).arg(text.mid(at));
}

QString KeptReportFileName(const QString& edited) {
    const qsizetype dot = edited.indexOf('.');
    return dot < 0 ? edited : edited.left(dot);
}

QString MetafileName(const QString& reportFileName) {
    return reportFileName.contains('.') ? reportFileName : reportFileName + QStringLiteral(".wmf");
}

QString ReportFileNameLine(const QString& reportFileName, Language language) {
    return ReportText(language, QT_TRANSLATE_NOOP("zarno::Report", "Имя файла отчёта - \"%1\";"))
        .arg(MetafileName(reportFileName));
}

namespace {

// One paragraph (no line feed) in lines: a line ends before the last blank, full stop or comma of
// its 82 characters, and the next one starts there. A stretch without any of them is cut at 82
// characters and continued, so that no part of the operator's text is left off the page.
void BreakParagraph(const QString& paragraph, QStringList& lines) {
    qsizetype pos = 0;
    while (paragraph.size() - pos > kCommentLineChars) {
        const QString chunk = paragraph.mid(pos, kCommentLineChars);
        qsizetype brk = std::max({chunk.lastIndexOf(' '), chunk.lastIndexOf('.'), chunk.lastIndexOf(',')});
        // A break at the line's first character would give an empty line and no progress.
        if (brk <= 0)
            brk = kCommentLineChars;
        lines << chunk.left(brk);
        pos += brk;
    }
    lines << paragraph.mid(pos);
}

} // namespace

QStringList CommentLines(const QString& comment) {
    QStringList lines;
    if (comment.isEmpty())
        return lines;
    // A line feed always ends a line: the edit's line ends are the operator's own. The carriage
    // return of a "\r\n" would print as a stray glyph.
    QString text = comment;
    text.remove('\r');
    if (text.endsWith('\n'))
        text.chop(1);
    for (const QString& paragraph : text.split('\n'))
        BreakParagraph(paragraph, lines);
    return lines;
}

} // namespace zarno
