#pragma once
// The load of a SEG-Y file into the signal document, run once when the measurement panel is first
// updated: headers, samples, the gain and filter settings beside the file, and per shown trace
// the derived arrays and the automatic reflection estimate.

#include "app/dsp/filter_settings.h"
#include "app/dsp/settings_file.h"
#include "app/seams/prompts.h"
#include "app/viewer/pict_doc.h"

#include <QString>

#include <optional>
#include <vector>

namespace zarno {

struct PictLoadOptions {
    double velocity = 3600.0; // the panel's velocity field as it starts
    // The viewer creates "VARY.ini" and "FILTER.ini" beside the file when they are missing; a
    // measurement from the command line leaves the directory as it is.
    dsp::MissingFile settingsFiles = dsp::MissingFile::Create;
};

// Steps of the load. Returns false when it stopped early: the file cannot be opened ("Неверно
// задано имя файла!", caption "Error!"), or the reader refused it ("Ошибка в формате SGY файла!"
// with its reason: an unknown format, a cut file, a pipe); then nothing is loaded and the document
// shows an empty viewer.
bool LoadPictDoc(CPictDoc& doc, const QString& sgyPath, Prompts& prompts, dsp::FilterSettings& filter,
                 const PictLoadOptions& options = {});

// One trace made in memory rather than read from a file (a site's averaged pile), as the viewer
// opens it.
struct PictTrace {
    QString name; // what the document is called: its window, its report
    std::vector<double> samples;
    double intervalS = 0.0;
    std::optional<double> velocity; // the panel's velocity as it starts; the load's default without one
    int zeroSample = 0;             // where times and lengths count from
};

// The load of such a trace: as LoadPictDoc, with the program's filter settings as they are and the
// default gain curve; nothing is read or created on disk, and closing the viewer writes nothing.
// False (nothing loaded, the user told) when there are no samples or no sample interval in whole
// microseconds.
bool LoadPictTrace(CPictDoc& doc, const PictTrace& trace, Prompts& prompts, const dsp::FilterSettings& filter,
                   const PictLoadOptions& options = {});

// The warning given for a file of more traces than the document holds.
QString TooManyTracesText(int declared);

} // namespace zarno
