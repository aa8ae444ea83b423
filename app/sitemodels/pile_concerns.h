#pragma once
// Why a pile of the site's table needs the engineer's look: no toe was found, its length is off the
// design length by more than the site's tolerance, its class (the engineer's, else the proposed one)
// is III or IV, or blows were left out of its average. Each reason is a sentence for the row's tip; no reason, no mark.

#include "app/site/site_survey.h"

#include <QStringList>

namespace zarno::site {

// The deviation from the design length beyond which a pile is looked at, in percent.
inline constexpr double kLookDeviationPct = 5.0;

QStringList PileConcerns(const PileResult& pile);

} // namespace zarno::site
