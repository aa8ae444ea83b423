#pragma once
// What a surveyed site is written as: the table printed on a terminal, the JSON of scripts, and the
// "site.csv" summary for a spreadsheet (UTF-8 with a BOM, in the separators of its reader's language,
// so that it opens right in that reader's spreadsheet).

#include "app/i18n/language.h"
#include "app/site/site_survey.h"

#include <QByteArray>
#include <QString>

namespace zarno::site {

// v rounded to decimals, with a negative zero made positive, for a text ("-0.0" reads as a deviation).
double RoundedForText(double v, int decimals);
// "given", "calibrated" or "none".
QString VelocitySourceName(VelocitySource source);
// The velocity line: the value used and where it came from, with the calibrated value beside a
// given one.
QString VelocityText(const SiteVelocity& velocity);
// Blow numbers from 1, "2, 5".
QString RejectedText(const PileResult& pile);
// What marks a reported value as the engineer's decision in the printed tables: "12.40d", "IId".
inline constexpr char kDecidedMark[] = "d";
// The reported length (the decision, marked, or the measured one), or none.
QString ReportedLengthText(const PileResult& pile, bool decimalComma, const QString& none);
// The reported class: the decision, marked; else the proposal, none when nothing can be proposed,
// or "no consistent blow".
QString ReportedClassText(const PileResult& pile, const QString& none);
// Each anomaly: "2.4 m neck 0.42", joined by " / "; with a decimal comma when asked.
QString AnomaliesText(const PileResult& pile, bool decimalComma);
// An anomaly's kind as the survey names it ("reduction", "increase": the words of the JSON and the CSV)
// for a reader of language: "сужение", "уширение" in Russian.
QString AnomalyKindText(Language language, const QString& kind);
// The anomalies for a reader of language (the window, the PDF): "4,93 м сужение 0,60 / …" in Russian.
QString AnomaliesTextIn(Language language, const PileResult& pile);

QByteArray SiteTableText(const SiteResult& site);
QByteArray SiteJson(const SiteResult& site);
// Russian: ";" between fields and decimal commas, as Russian spreadsheets read them; English: ","
// and decimal points. The site table reader takes either back.
QByteArray SiteCsv(const SiteResult& site, Language language);

} // namespace zarno::site
