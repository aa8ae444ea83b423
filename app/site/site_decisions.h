#pragma once
// The engineer's decisions on a pile (its length and its class), kept in the site's own table,
// "site.csv", in the columns decided_length_m and decided_class; the survey reads them back with the
// rest of the table.
//
// The table is the engineer's file, often kept in a spreadsheet: storing a decision changes the two
// cells of the pile's rows (adding the two columns to the header row when they are missing) and no
// other byte: other columns, their order and quoting, the separator, the line endings, the encoding
// and a BOM stay as they were. The file is written all or nothing.
//
// A folder without a table (one pile per recording) gets one listing its piles as the survey saw
// them, when such a table makes the survey find exactly the same piles; when it would not (two
// recordings of one name in different extensions, names a table cannot hold), the decision is
// refused with the reason.

#include "app/site/pile_class.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace zarno::site {

struct PileDecision {
    std::optional<double> lengthM; // finite and above zero
    PileClass cls = PileClass::None;

    bool empty() const { return !lengthM && cls == PileClass::None; }
};

// Stores the decision on pile in the table of siteFolder; an empty decision clears the pile's cells.
// False with error set (nothing written) when the table cannot be read or written, does not name the
// pile, or the decision is not a length in metres.
bool StoreDecision(const QString& siteFolder, const QString& pile, const PileDecision& decision,
                   QString* error);

// The table's text with the decision on pile in place, the same bytes everywhere else. Nothing, with
// error set, when the table has no header row naming pile and file or no row of the pile.
std::optional<QByteArray> TableWithDecision(const QByteArray& table, const QString& pile,
                                            const PileDecision& decision, QString* error);

} // namespace zarno::site
