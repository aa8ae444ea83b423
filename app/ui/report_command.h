#pragma once
// "Печатать отчёт" (and the key P of the signal view): the report dialog, then the page on the
// chosen printer or, with "Сохранить отчёт в файле", as a metafile in the current directory with
// a copy beside the recording.

#include "app/render/graph_scene.h"
#include "app/report/report_model.h"
#include "app/seams/prompts.h"
#include "app/viewer/lengths_list.h"
#include "app/viewer/pict_doc.h"

class QPrinter;
class QWidget;

namespace zarno {

class CPrintReport;

// dialog and settings: the viewer's own report dialog and the choices it keeps; scene: the view's
// scene as last painted; lengths: the lengths list of the panel's model; searchTrace: the view's search trace, whose automatic length the
// page prints; grid: the view's grid switch. The caller repaints the view afterwards.
void RunReportCommand(QWidget* parent, CPrintReport& dialog, ReportSettings& settings, const CPictDoc& doc,
                      const CGraphScene& scene, const LengthsList& lengths, int searchTrace, int grid,
                      Prompts& prompts);

// The printer's description for the trace output when a print job begins.
void TracePrinter(const QPrinter& printer, Prompts& prompts);

} // namespace zarno
