#pragma once
// The on-screen backend: the renderer's table filled from a Qt GL context (a QOpenGLWidget's,
// compatibility profile), which must be current. The widget shows its frames itself.

#include "app/render/gl_table.h"

class QOpenGLContext;

namespace zarno {

// The binding of context, or why it cannot carry the renderer: none or invalid (context
// creation), a core or ES profile or fewer than 8 bits per colour (pixel format), not current or
// lacking an entry point (make current).
GlBinding BindQtContext(QOpenGLContext* context);

} // namespace zarno
