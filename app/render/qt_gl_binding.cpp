#include "app/render/qt_gl_binding.h"

#include <QOpenGLContext>
#include <QSurfaceFormat>

namespace zarno {

GlBinding BindQtContext(QOpenGLContext* context) {
    GlBinding b;
    if (!context || !context->isValid()) {
        b.failure = GlContextFailure::ContextCreation;
        return b;
    }
    const QSurfaceFormat f = context->format();
    // Immediate mode needs desktop GL outside a core profile, and the picture 8 bits per colour.
    if (context->isOpenGLES() || f.profile() == QSurfaceFormat::CoreProfile || f.redBufferSize() < 8 ||
        f.greenBufferSize() < 8 || f.blueBufferSize() < 8) {
        b.failure = GlContextFailure::PixelFormatChoice;
        return b;
    }
    if (QOpenGLContext::currentContext() != context) {
        b.failure = GlContextFailure::MakeCurrent;
        return b;
    }
    if (!FillGlTable(b.table, [context](const char* name) {
            return reinterpret_cast<void*>(context->getProcAddress(name));
        })) {
        b.failure = GlContextFailure::MakeCurrent;
        return b;
    }
    return b;
}

} // namespace zarno
