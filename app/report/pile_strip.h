#pragma once
// The drawing of a site's piles, for the site's PDF and its window alike: one pile as a strip (its
// name and what was found on the left; its averaged trace from the blow on, the blows it was made of
// faint behind it, the toe, the anomalies and the engineer's length marked, an axis in metres under
// it), and the piles of a site one strip under the other, all aligned at the blow on one axis.
//
// Sizes (text, lines) are in millimetres of the painter's device, so that a page at 300 dpi and a
// window at the screen's resolution look alike.

#include "app/i18n/translation.h"
#include "app/site/site_survey.h"

#include <QRectF>

#include <optional>
#include <span>

class QPainter;

namespace zarno {

struct PileStripOptions {
    // The axis runs from the blow to xMax (metres with a speed, milliseconds without); 0: past the
    // deepest of the piles drawn together (toe, design length or engineer's length), within the record.
    double xMax = 0.0;
    bool blows = true;     // each blow faint behind the average
    double labelMm = 34.0; // the width of the pile's label on the left
    Language language = CurrentLanguage(); // of the labels (a PDF may be in the other one)
};

// The axis a set of piles shares at this speed (see PileStripOptions::xMax); 1 when none has a trace.
double SharedStripRange(std::span<const site::PileResult> piles, std::optional<double> velocity);

// One pile in area. A pile without a consistent blow shows its label and says so.
void PaintPileStrip(QPainter& painter, const QRectF& area, const site::PileResult& pile,
                    std::optional<double> velocity, const PileStripOptions& options = {});

// The piles one under the other in area, each stripHeightMm high (as many as fit), on one axis.
// Returns how many were drawn.
int PaintStackedPiles(QPainter& painter, const QRectF& area, std::span<const site::PileResult> piles,
                      std::optional<double> velocity, double stripHeightMm,
                      const PileStripOptions& options = {});

} // namespace zarno
