#pragma once
// zarno-cli report: the viewer's measurement report for many recordings at once.
//   report [--velocity V] [--comment TEXT] [--marker SAMPLE]... [--trace N] [--emf] [--report-lang ru|en]
//          -o DIR FILE.sgy...
// Each file gets the page a new viewer's report makes (every line but the report file's name),
// with the automatic reflection, the markers given and the pile length of trace N: one A4 page a
// file in DIR/report.pdf, or with --emf one metafile a file, DIR/NAME.wmf. The page is in the
// language given, else in the program's.

#include "app/seams/prompts.h"

#include <QIODevice>
#include <QStringList>

namespace zarno::cli {

// 0 when every page was written; 1 when a file could not be loaded or drawn or an output could not
// be written (the pages that could be made are written whole, nothing half-written is left);
// 2 for a wrong call. Progress goes to err, one line a file.
int RunReport(const QStringList& args, QIODevice& err, Prompts& prompts);

int RunReportCommand(const QStringList& args);

} // namespace zarno::cli
