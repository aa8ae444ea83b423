// The on-screen backend: the renderer bound to a Qt GL context (compatibility profile, as the
// viewer's GL widget asks for), drawing a layout whose strips come out where the layout says.
// Needs a display (xvfb-run).

#include "app/render/offscreen_render.h"
#include "app/render/qt_gl_binding.h"
#include "tests/render/render_canvas.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLFramebufferObject>
#include <QOpenGLContext>
#include <QSurfaceFormat>

#include <gtest/gtest.h>

#include <vector>

namespace zarno::testing {
namespace {

QSurfaceFormat CompatibilityFormat() {
    QSurfaceFormat f;
    f.setRenderableType(QSurfaceFormat::OpenGL);
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    f.setRedBufferSize(8);
    f.setGreenBufferSize(8);
    f.setBlueBufferSize(8);
    return f;
}

TEST(QtContext, BindsAndDraws) {
    QOpenGLContext context;
    context.setFormat(CompatibilityFormat());
    ASSERT_TRUE(context.create());
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    // Not current yet: the binding refuses it.
    EXPECT_EQ(BindQtContext(&context).failure, GlContextFailure::MakeCurrent);
    ASSERT_TRUE(context.makeCurrent(&surface));
    const GlBinding binding = BindQtContext(&context);
    ASSERT_EQ(binding.failure, GlContextFailure::None);

    RecordingPrompts prompts;
    CGraphScene scene;
    ASSERT_EQ(scene.CreateContext(binding, prompts), 1);
    ASSERT_TRUE(scene.Fonts().Created());
    // Drawn into a framebuffer object, as a GL widget's picture is.
    QOpenGLFramebufferObject fbo(200, 100);
    ASSERT_TRUE(fbo.bind());
    scene.SetWindow(0, 0, 200, 100);
    std::vector<double> wave(100);
    for (std::size_t i = 0; i < wave.size(); ++i)
        wave[i] = double(i % 10);
    scene.m_spectra.areas[0].SetData(0, 99, 100, wave.data(), 30, 0);
    scene.m_spectra.axis.Init(0, 99, 100, 0, 10, 1.0, 1, 0);
    const int visible[1] = {0};
    scene.DrawSpectra(1, 0, 0, visible, 0);
    const QImage image = fbo.toImage().convertToFormat(QImage::Format_RGB32);
    // Several spectra at 200 × 100: the label box is columns 175 … 198, GL rows 0 … 23; the
    // selected row's scale (white) columns 175 … 198, rows 24 … 98.
    EXPECT_TRUE(EdgesAre(image, 175, 199, 0, 24, GlColor(0.2, 0, 0)));
    EXPECT_TRUE(EdgesAre(image, 175, 199, 24, 99, GlColor(1, 1, 1)));
    EXPECT_TRUE(EdgesAre(image, 199, 200, 0, 100, GlColor(0.95, 0.95, 1.0))) << "the uncovered last column";
    EXPECT_GT(CountColor(image, 0, 174, 25, 99, GlColor(0, 0, 0)), 100) << "the spectrum";

    // An off-screen pass (the report's picture) in between leaves the window's context and fonts
    // working: the same picture again.
    GraphPicture spectra;
    spectra.spectrum = true;
    spectra.count = 1;
    const QImage page = RenderOffscreen(scene, spectra, 300, 200, OffscreenLook::Report(2));
    ASSERT_EQ(page.size(), QSize(300, 200));
    EXPECT_EQ(QOpenGLContext::currentContext(), &context);
    ASSERT_TRUE(fbo.bind());
    scene.SetWindow(0, 0, 200, 100);
    binding.table.ClearColor(0, 0, 0, 1);
    binding.table.Clear(GL_COLOR_BUFFER_BIT);
    scene.SetClearColor(0.95f, 0.95f, 1.0f, 1.0f);
    scene.DrawSpectra(1, 0, 0, visible, 0);
    EXPECT_EQ(fbo.toImage().convertToFormat(QImage::Format_RGB32), image);
    fbo.release();
    scene.Destroy();
    context.doneCurrent();
}

TEST(QtContext, NoContextIsAContextCreationFailure) {
    EXPECT_EQ(BindQtContext(nullptr).failure, GlContextFailure::ContextCreation);
    QOpenGLContext uncreated;
    EXPECT_EQ(BindQtContext(&uncreated).failure, GlContextFailure::ContextCreation);
}

class GuiApp : public ::testing::Environment {
public:
    void SetUp() override {
        // The window system of the display, not the headless platform the other tests use.
        qputenv("QT_QPA_PLATFORM", "xcb");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }
    int argc = 1;
    char name[16] = "render-gui-test";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QGuiApplication> app;
};

[[maybe_unused]] const auto* const kApp = ::testing::AddGlobalTestEnvironment(new GuiApp);

} // namespace
} // namespace zarno::testing
