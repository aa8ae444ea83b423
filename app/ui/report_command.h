#pragma once
// "Печатать отчёт" (and the key P of the signal view): the report dialog, then the page on the
// chosen printer or, with "Сохранить отчёт в файле", as a metafile in the current directory with
// a copy beside the recording.

#include "app/paint/paint_description.h"
#include "app/render/graph_scene.h"
#include "app/report/report_model.h"
#include "app/seams/prompts.h"

class QPrinter;
class QWidget;

namespace zarno {

class CPrintReport;

// dialog and settings: the viewer's own report dialog and the choices it keeps; source: what the
// page prints of the document and the panel's model; scene and frame: the view's graphs and the
// description of its current frame, drawn again for the page. The caller repaints the view
// afterwards.
void RunReportCommand(QWidget* parent, CPrintReport& dialog, ReportSettings& settings, const ReportSource& source,
                      const CGraphScene& scene, const GraphPicture& frame, Prompts& prompts);

// The printer's description for the trace output when a print job begins.
void TracePrinter(const QPrinter& printer, Prompts& prompts);

} // namespace zarno
