#pragma once
// Where a window may open: wholly on the screen's available area, whatever rectangle the settings
// kept (a screen since unplugged, a resolution since lowered, a hand-edited file).

#include <QRect>

namespace zarno {

// `window` moved, and shrunk only where it is larger than `available`, so that it lies wholly
// within `available`. A rectangle already within comes back as it is.
QRect PlaceWithin(const QRect& window, const QRect& available);

} // namespace zarno
