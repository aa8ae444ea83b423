#pragma once
// A site's pile in the signal viewer: its averaged trace at the site's speed, in a viewer that can
// hand the length at its marker back to the site window as the engineer's decision.

#include "app/site/site_survey.h"

#include <optional>

namespace zarno {

class CMainFrame;
class CSiteFrame;
class CSplitterPictFrame;

CSplitterPictFrame* OpenSitePileViewer(CMainFrame& main, CSiteFrame& site, const site::PileResult& pile,
                                       std::optional<double> velocity);

} // namespace zarno
