#pragma once
// The report's picture: the view's current frame drawn again by the renderer, off screen, at the
// page's size, on white with lines of width 2 and labels at the page's font scale.

#include "app/paint/paint_description.h"
#include "app/render/graph_scene.h"
#include "app/report/report_output.h"

namespace zarno {

// Keeps what to draw; the renderer reads the scene when the page asks for the picture. error, when
// given, receives why a picture could not be drawn (the picture is then null).
RenderReportPicture ViewPictureRenderer(const CGraphScene& scene, const GraphPicture& picture,
                                        QString* error = nullptr);

} // namespace zarno
