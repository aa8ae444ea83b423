#pragma once
// A site's pile in the signal viewer: its averaged trace as a document of one trace, with the site's
// speed and the zero at the blow, so that the viewer's lengths read as the site's.

#include "app/site/site_survey.h"
#include "app/viewer/pict_load.h"

#include <optional>

namespace zarno {

// The pile's averaged trace, named by the pile; no samples when the pile has no consistent blow.
PictTrace PictTraceOfPile(const site::PileResult& pile, std::optional<double> velocity);

} // namespace zarno
