#pragma once
// "site.csv": the engineer's description of the piles of a site folder. One row per recording file:
// columns pile and file, optionally design_length_m, known_length_m, note, and the engineer's
// decisions decided_length_m and decided_class, in any order after a header row. Several rows of
// the same pile are blows of that pile. The file may come from any spreadsheet: ";" or "," between
// fields, a decimal comma or point, quoted fields, a BOM.
//
// A bad row is left out with a message naming its line; the other rows stand.

#include "app/site/pile_class.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zarno::site {

inline constexpr char kSiteTableName[] = "site.csv";

struct SiteRow {
    int line = 0; // 1-based line of the file
    QString pile;
    QString file; // relative to the site folder
    std::optional<double> designLengthM;
    std::optional<double> knownLengthM;
    QString note;
    std::optional<double> decidedLengthM;
    PileClass decidedClass = PileClass::None;
};

struct SiteTable {
    std::vector<SiteRow> rows;
    QStringList messages; // "site.csv line N: ..." for each row left out or value questioned
    bool usable = true;   // false when the header row itself cannot be read: no row can be placed
};

// The site table of folder, its name in any case ("SITE.CSV" from a copy off the instrument's disk);
// the path of "site.csv" in it when there is none.
QString SiteTablePath(const QString& folder);

// Parses the text of a site table.
SiteTable ParseSiteTable(const QString& text);

// The fields of one line of the table exactly as written (quotes and spaces kept), split at sep
// outside quotes: joined again with sep they give the line back byte for byte.
QList<QByteArray> RawSiteFields(const QByteArray& line, char sep);
// What a field holds: unquoted ("" inside quotes is a quote) and trimmed.
QString SiteFieldValue(const QByteArray& raw);

// One number of the table: a decimal comma or point; finite and above zero. Empty text gives none.
std::optional<double> ParseSiteNumber(const QString& text, bool* bad);

} // namespace zarno::site
