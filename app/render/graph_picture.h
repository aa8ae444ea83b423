#pragma once
// One frame of the viewer's picture drawn from its description, so that the window, the report's
// picture and the command line draw the same picture.

#include "app/paint/paint_description.h"
#include "app/render/graph_scene.h"

namespace zarno {

// Draws the picture with the scene's bound context, in its current window.
void DrawPicture(CGraphScene& scene, const GraphPicture& picture);

} // namespace zarno
