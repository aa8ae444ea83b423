#pragma once
// The viewer's commands that go through an outside editor or a file: the filter and gain settings
// editors, the settings kept beside the file, and the spectrum text file.

#include "app/dsp/dravik_binding.h"
#include "app/dsp/filter_settings.h"
#include "app/dsp/fourier_analysis.h"
#include "app/seams/prompts.h"
#include "app/viewer/pict_doc.h"

#include <QByteArray>
#include <QString>

namespace zarno {

// "Настроить параметры  фильтра": the settings dialog of the filter library on the program's
// record, then every trace filtered again. False (the user told, nothing changed) when the library
// cannot be bound. The caller redraws when "Включить фильтр" is checked.
bool EditFilterSettings(CPictDoc& doc, dsp::FilterSettings& filter, Prompts& prompts,
                        const QString& library = QString::fromLatin1(dsp::kDravikLibraryName));

struct GainEditOutcome {
    bool edited = false; // the editor ran
    bool redraw = false; // the gained traces are on screen and changed
};

// "Настроить параметры ВАРУ": ask (TovelUtils ordinal 3) whether to go on; the gain is switched off
// while the editor (ordinal 2) runs and back on afterwards, so the state agrees with the check box
// that kept its mark; then the new curve is applied in the window.
GainEditOutcome EditGain(CPictDoc& doc, void* panelWindow);

// What closing the viewer keeps beside the file: "VARY.ini" (first parameter, point count and
// curve), then "FILTER.ini" (the program's record). Nothing when the load did not run, nor for
// content built in memory (it has no folder). Each file is written whole or not at all; one that
// could not be written is told through prompts (the older file stays), and the result is false.
bool SavePictSettings(const CPictDoc& doc, const dsp::FilterSettings& filter, Prompts& prompts);

// The spectrum text file of the document's traces (all ns bins of each).
QByteArray SpectrumFileText(const CPictDoc& doc);

} // namespace zarno
