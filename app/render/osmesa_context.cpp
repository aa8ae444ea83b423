#include "app/render/osmesa_context.h"

#include <GL/osmesa.h>
#include <QOpenGLContext>

#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#define ZARNO_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZARNO_LEAK_CHECKED 1
#endif
#endif

#ifdef ZARNO_LEAK_CHECKED
// OSMesa keeps the state of every drawing buffer it has bound in a list of its own that it never
// frees; the leak checker is told so, and checks everything else.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libOSMesa.so\n";
}
#endif

namespace zarno {

// The contexts that were current when this one was made: OSMesa's own and Qt's.
struct OsMesaContext::Previous {
    OSMesaContext mesa = nullptr;
    void* buffer = nullptr;
    GLint width = 0, height = 0, format = 0;
    QOpenGLContext* qt = nullptr;
    QSurface* qtSurface = nullptr;
};

OsMesaContext::OsMesaContext(int width, int height)
    : m_nWidth(width), m_nHeight(height), m_previous(std::make_unique<Previous>()) {
    m_binding.failure = GlContextFailure::ContextCreation;
    if (width <= 0 || height <= 0) {
        m_error = QStringLiteral("a picture of %1 x %2 pixels cannot be drawn").arg(width).arg(height);
        return;
    }
    m_previous->qt = QOpenGLContext::currentContext();
    if (m_previous->qt)
        m_previous->qtSurface = m_previous->qt->surface();
    m_previous->mesa = OSMesaGetCurrentContext();
    if (m_previous->mesa)
        OSMesaGetColorBuffer(m_previous->mesa, &m_previous->width, &m_previous->height, &m_previous->format,
                             &m_previous->buffer);

    // RGBA with no depth, stencil or accumulation buffer: the picture needs colour only.
    const OSMesaContext ctx = OSMesaCreateContextExt(OSMESA_RGBA, 0, 0, 0, nullptr);
    if (!ctx) {
        m_error = QStringLiteral("OSMesa cannot create a context");
        return;
    }
    m_context = ctx;
    m_buffer = std::make_unique<unsigned char[]>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    if (!OSMesaMakeCurrent(ctx, m_buffer.get(), GL_UNSIGNED_BYTE, width, height)) {
        m_binding.failure = GlContextFailure::MakeCurrent;
        m_error = QStringLiteral("OSMesa cannot make its context current");
        return;
    }
    const char* missing = nullptr;
    if (!FillGlTable(
            m_binding.table, [](const char* name) { return reinterpret_cast<void*>(OSMesaGetProcAddress(name)); },
            &missing)) {
        m_binding.failure = GlContextFailure::MakeCurrent;
        m_error = QStringLiteral("OSMesa lacks %1").arg(QString::fromLatin1(missing));
        return;
    }
    m_binding.failure = GlContextFailure::None;
}

OsMesaContext::~OsMesaContext() {
    if (m_context) {
        // Unbound before it goes: OSMesa frees the drawing buffer's state only on unbinding.
        OSMesaMakeCurrent(nullptr, nullptr, GL_UNSIGNED_BYTE, 0, 0);
        OSMesaDestroyContext(static_cast<OSMesaContext>(m_context));
    }
    if (m_previous->mesa)
        OSMesaMakeCurrent(m_previous->mesa, m_previous->buffer, GL_UNSIGNED_BYTE, m_previous->width,
                          m_previous->height);
    if (m_previous->qt && m_previous->qtSurface) {
        // Released first: the window system's library sees its own context as still current and
        // would take a plain make-current for a no-op, leaving GL calls with the OSMesa context.
        m_previous->qt->doneCurrent();
        m_previous->qt->makeCurrent(m_previous->qtSurface);
    }
}

QImage OsMesaContext::Image() const {
    if (!Ok())
        return {};
    m_binding.table.Finish();
    QImage image(m_nWidth, m_nHeight, QImage::Format_RGB888);
    const auto rowBytes = static_cast<std::size_t>(m_nWidth) * 4;
    // The buffer's first row is the bottom of the picture.
    for (int y = 0; y < m_nHeight; ++y) {
        const unsigned char* src = m_buffer.get() + static_cast<std::size_t>(m_nHeight - 1 - y) * rowBytes;
        uchar* dst = image.scanLine(y);
        for (int x = 0; x < m_nWidth; ++x) {
            dst[3 * x] = src[4 * x];
            dst[3 * x + 1] = src[4 * x + 1];
            dst[3 * x + 2] = src[4 * x + 2];
        }
    }
    return image;
}

} // namespace zarno
