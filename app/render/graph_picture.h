#pragma once
// What the view's paint draws: the layout and its arguments, taken from the document and the
// scene, so that the window, the report's picture and the command line draw the same picture.

#include "app/render/graph_scene.h"
#include "app/viewer/pict_doc.h"

#include <array>

namespace zarno {

struct GraphPicture {
    bool spectrum = false; // spectra instead of signals
    bool single = false;   // one graph enlarged
    int trace = 0;         // the enlarged graph
    int count = 0;         // graphs on the screen (stacked layouts)
    int selectedTrace = 0;
    int selectedRow = 0;
    std::array<int, kPictTraces> visible{0, 1};
    double fillLevel = 1.0;
    int grid = 1;
};

// The layout's arguments from the document and the scene.
GraphPicture PaintPicture(const CPictDoc& doc, const CGraphScene& scene, int grid);

// Draws the picture with the scene's bound context, in its current window.
void DrawPicture(CGraphScene& scene, const GraphPicture& picture);

} // namespace zarno
