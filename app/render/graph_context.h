#pragma once
// What every plotting object draws with: the GL table of the current context, the three font
// bases of that context, and the tick values the axis shares with the plot areas' grids.

#include "app/render/gl_table.h"

#include <array>

namespace zarno {

// The display-list bases of the three bitmap fonts (glyph 32 is list base + 0); 0 while none.
struct GraphFontBases {
    std::array<GLuint, 3> base{};
};

// Written by the axis's ComputeTicks and the layouts, read by the grid and the axis labels.
struct GraphTickShare {
    int majorTickCount = 20;
    double majorSpacingSamples = 1.0; // major tick spacing in samples
    const char* originLabel = "t";    // the first axis tick's text: "t", "L", "Hz"…
};

// printf-style text (at most 255 characters) at the current raster position with font 1, 2 or 3
// (any other number means font 1), through the font's display lists; the list state is saved and
// restored around the call. A null format draws nothing.
void DrawGraphText(const GlTable& gl, const GraphFontBases& fonts, int font, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

} // namespace zarno
