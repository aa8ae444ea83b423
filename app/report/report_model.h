#pragma once
// The measurement report's settings and texts: the settings each viewer keeps for its report, the
// state rules of the report dialog, and the lines the page prints, built from the dialog and the
// signal document. QtCore only: the page that draws them lives beside it in report_page.h.

#include "app/i18n/language.h"
#include "app/viewer/lengths_list.h"
#include "app/viewer/pict_doc.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace zarno {

inline const QString kDefaultReportFileName = QStringLiteral("tmpReportFile");
inline constexpr qsizetype kCommentLineChars = 82;

struct ReportSettings {
    bool used = false; // confirmed once: the dialog then starts from these settings
    Language language = Language::Russian; // the page's texts and numbers; the lines below are in it
    bool printFileName = false;
    QString fileNameLine;
    bool printOperatorText = false;
    QString operatorText;
    bool printPileLength = false;
    QString pileLengthLine;
    bool printLengths = false;
    int lengthCount = 0;
    std::array<QString, kLengthsListRows> lengthTexts;
    bool printVelocity = false;
    QString velocityLine;
    bool saveToFile = false;
    QString reportFileName = kDefaultReportFileName; // without extension once built from the dialog
    bool printTime = false;
    QString timeLine;
};

// The value fields of the report dialog and its enabling rules.
struct ReportDialogState {
    QString comment;
    bool fileName = true;
    bool lengths = true;
    bool velocity = true;
    bool operatorText = true;
    QString reportFileName = kDefaultReportFileName;
    bool time = true;
    bool saveToFile = false;
    bool pileLength = true;
    Language language = Language::Russian;

    bool CommentEditEnabled() const { return operatorText; }
    bool ReportFileNameEditEnabled() const { return saveToFile; }
};

// What the dialog shows when it opens: the kept settings once a report was confirmed, otherwise the
// first state (every check box but saving to a file, no comment, "tmpReportFile", the report in the
// program's language).
ReportDialogState DialogStartState(const ReportSettings& settings, Language programLanguage);

// What the report takes from the signal document and the view.
struct ReportSource {
    QString sgyPath;
    double velocity = 0.0;
    // The toe finder's length of the view's search trace; none when it found no toe, and then the
    // report says so instead of printing a length it cannot vouch for.
    std::optional<double> pileLength;
    QByteArrayView textHeader; // the 3200 bytes of the textual header
    LengthsList lengths;
};

// The document's part of the report: its path, velocity and textual header, the toe finder's length
// of the search trace, and the lengths list of the panel's model.
ReportSource ReportSourceOf(const CPictDoc& doc, const LengthsList& lengths, int searchTrace);

// The settings of a confirmed dialog (the used flag is set by the caller once the pass has run).
void ApplyReportDialog(ReportSettings& settings, const ReportDialogState& dialog, const ReportSource& source);

// The page's lines, in the report's language.
QString FileNameLine(const QString& sgyPath, Language language);
QString VelocityLine(double velocity, Language language);
QString PileLengthLine(double length, Language language);
// What the pile length line says when the toe finder found no toe.
QString ToeNotFoundLine(Language language);
QString TimeLine(QByteArrayView textHeader, Language language);
// The report file name as kept: cut before its first full stop.
QString KeptReportFileName(const QString& edited);
// The metafile's name: the kept name with ".wmf" when it has no full stop.
QString MetafileName(const QString& reportFileName);
QString ReportFileNameLine(const QString& reportFileName, Language language);
// The comment in lines of at most 82 characters.
QStringList CommentLines(const QString& comment);

} // namespace zarno
