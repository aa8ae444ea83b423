// A program that holds the system's libGL (as every Qt GUI program does) and OSMesa at once still
// draws correctly off screen: the renderer never calls a gl function by name, so no call can land
// in the library that has no current context.

#include "app/render/offscreen_render.h"
#include "tests/render/render_canvas.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <vector>

namespace zarno::testing {
namespace {

TEST(GlLibraries, OffscreenPictureWithLibGlLoaded) {
    // Both libraries define glBegin; the program was linked against libGL, so a call by name would
    // resolve there.
    ASSERT_NE(dlsym(RTLD_DEFAULT, "glXGetProcAddressARB"), nullptr) << "libGL is not loaded";
    ASSERT_NE(dlsym(RTLD_DEFAULT, "OSMesaCreateContextExt"), nullptr) << "OSMesa is not loaded";
    Dl_info where{};
    ASSERT_NE(dladdr(dlsym(RTLD_DEFAULT, "glBegin"), &where), 0);
    EXPECT_EQ(std::string(where.dli_fname).find("OSMesa"), std::string::npos) << where.dli_fname;

    std::vector<double> wave;
    for (int i = 0; i < 300; ++i)
        wave.push_back(i % 30 - 15);
    CGraphScene scene;
    scene.m_signals.areas[0].SetData(0, 299, 300, wave.data(), 30, 0);
    scene.m_signals.axis.Init(0, 299, 300, 0, 10, 0.1, 1, 0);
    GraphPicture p;
    p.count = 1;
    p.visible = {0, 0};
    QString error;
    const QImage image = RenderOffscreen(scene, p, 1000, 600, OffscreenLook::Screen(), &error);
    ASSERT_FALSE(image.isNull()) << error.toStdString();
    // The label box of several signals at 1000 × 600: columns 983 … 999, GL rows 0 … 28.
    EXPECT_TRUE(EdgesAre(image, 983, 1000, 0, 29, GlColor(0.2, 0, 0)));
    EXPECT_GT(CountColor(image, 983, 1000, 0, 29, GlColor(1, 1, 1)), 5) << "its number";
    EXPECT_GT(CountColor(image, 0, 981, 30, 599, GlColor(0, 0, 0)), 600) << "the trace";
}

} // namespace
} // namespace zarno::testing
