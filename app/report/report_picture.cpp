#include "app/report/report_picture.h"

#include "app/render/graph_picture.h"
#include "app/render/offscreen_render.h"

namespace zarno {

RenderReportPicture ViewPictureRenderer(const CGraphScene& scene, const GraphPicture& picture, QString* error) {
    return [&scene, picture, error](QSize size, int fontScale) {
        return RenderOffscreen(scene, picture, size.width(), size.height(), OffscreenLook::Report(fontScale),
                               error);
    };
}

} // namespace zarno
