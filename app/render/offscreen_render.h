#pragma once
// Off-screen drawing on OSMesa: the report's picture, the command line's pictures and the pixel
// tests. An off-screen pass draws a copy of the scene in a context and fonts of its own (never the
// window's lists), and puts back whatever context was current on the thread before it.

#include "app/render/graph_picture.h"
#include "app/render/graph_scene.h"

#include <QImage>
#include <QString>

namespace zarno {

struct OffscreenLook {
    std::array<float, 3> background = kGraphClearColor;
    float lineWidth = 1.0f;
    int fontScale = 1;

    // As the window shows it.
    static OffscreenLook Screen() { return {}; }
    // The report page's picture: white background, lines of width 2, fonts at scale k.
    static OffscreenLook Report(int fontScale) { return {{1.0f, 1.0f, 1.0f}, 2.0f, fontScale}; }
};

// The picture drawn into a width × height RGB image, exactly the pixels GL drew (row 0 at the top).
// A null image when no off-screen context or font could be made; error then says why.
QImage RenderOffscreen(const CGraphScene& scene, const GraphPicture& picture, int width, int height,
                       const OffscreenLook& look, QString* error = nullptr);

} // namespace zarno
