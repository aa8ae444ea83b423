#include "app/render/offscreen_render.h"

#include "app/render/osmesa_context.h"

namespace zarno {

// Draws a copy of the scene in an off-screen context of its own: the copy gets that context's table
// and fonts, so the window's scene, its lists and its context are never touched.
class OffscreenPass {
public:
    static QImage Run(const CGraphScene& original, const GraphPicture& picture, int width, int height,
                      const OffscreenLook& look, QString* error) {
        OsMesaContext context(width, height);
        if (!context.Ok())
            return Fail(error, context.Error());
        CGraphScene scene = original;
        scene.m_glTable = context.Binding().table;
        scene.m_gl = &scene.m_glTable;
        scene.m_swapBuffers = {};
        scene.m_fonts = CGraphFonts();
        QString fontError;
        if (!scene.m_fonts.Create(scene.m_glTable, look.fontScale, &fontError))
            return Fail(error, fontError);
        scene.SetWindow(0, 0, width, height);
        scene.SetClearColor(look.background[0], look.background[1], look.background[2], 1.0f);
        scene.SetLineWidth(look.lineWidth);
        DrawPicture(scene, picture);
        QImage image = context.Image();
        scene.Destroy();
        return image;
    }

private:
    static QImage Fail(QString* error, const QString& why) {
        if (error)
            *error = why;
        return {};
    }
};

QImage RenderOffscreen(const CGraphScene& scene, const GraphPicture& picture, int width, int height,
                       const OffscreenLook& look, QString* error) {
    return OffscreenPass::Run(scene, picture, width, height, look, error);
}

} // namespace zarno
