#include "app/render/gl_table.h"

#include <cstring>

namespace zarno {

namespace {

// One row per entry: its GL name and where it goes. The casts from the looked-up address to the
// entry's type are the one place where the table meets the C lookup functions.
template <typename Fn> bool Take(const GlProcLookup& lookup, const char* name, Fn& slot, const char** missing) {
    void* p = lookup(name);
    if (!p) {
        if (missing && !*missing)
            *missing = name;
        return false;
    }
    static_assert(sizeof(Fn) == sizeof(void*));
    std::memcpy(&slot, &p, sizeof(slot));
    return true;
}

} // namespace

bool FillGlTable(GlTable& table, const GlProcLookup& lookup, const char** missing) {
    GlTable t;
    const char* absent = nullptr;
    bool ok = true;
    ok &= Take(lookup, "glViewport", t.Viewport, &absent);
    ok &= Take(lookup, "glMatrixMode", t.MatrixMode, &absent);
    ok &= Take(lookup, "glLoadIdentity", t.LoadIdentity, &absent);
    ok &= Take(lookup, "glOrtho", t.Ortho, &absent);
    ok &= Take(lookup, "glClearColor", t.ClearColor, &absent);
    ok &= Take(lookup, "glClear", t.Clear, &absent);
    ok &= Take(lookup, "glColor3f", t.Color3f, &absent);
    ok &= Take(lookup, "glBegin", t.Begin, &absent);
    ok &= Take(lookup, "glEnd", t.End, &absent);
    ok &= Take(lookup, "glVertex2d", t.Vertex2d, &absent);
    ok &= Take(lookup, "glLineWidth", t.LineWidth, &absent);
    ok &= Take(lookup, "glRasterPos2d", t.RasterPos2d, &absent);
    ok &= Take(lookup, "glBitmap", t.Bitmap, &absent);
    ok &= Take(lookup, "glPixelStorei", t.PixelStorei, &absent);
    ok &= Take(lookup, "glGenLists", t.GenLists, &absent);
    ok &= Take(lookup, "glNewList", t.NewList, &absent);
    ok &= Take(lookup, "glEndList", t.EndList, &absent);
    ok &= Take(lookup, "glDeleteLists", t.DeleteLists, &absent);
    ok &= Take(lookup, "glListBase", t.ListBase, &absent);
    ok &= Take(lookup, "glCallLists", t.CallLists, &absent);
    ok &= Take(lookup, "glPushAttrib", t.PushAttrib, &absent);
    ok &= Take(lookup, "glPopAttrib", t.PopAttrib, &absent);
    ok &= Take(lookup, "glPushClientAttrib", t.PushClientAttrib, &absent);
    ok &= Take(lookup, "glPopClientAttrib", t.PopClientAttrib, &absent);
    ok &= Take(lookup, "glFlush", t.Flush, &absent);
    ok &= Take(lookup, "glFinish", t.Finish, &absent);
    ok &= Take(lookup, "glReadPixels", t.ReadPixels, &absent);
    ok &= Take(lookup, "glGetError", t.GetError, &absent);
    ok &= Take(lookup, "glEnableClientState", t.EnableClientState, &absent);
    ok &= Take(lookup, "glDisableClientState", t.DisableClientState, &absent);
    ok &= Take(lookup, "glVertexPointer", t.VertexPointer, &absent);
    ok &= Take(lookup, "glDrawArrays", t.DrawArrays, &absent);
    if (missing)
        *missing = absent;
    if (ok)
        table = t;
    return ok;
}

} // namespace zarno
