#pragma once
// The OpenGL 1.1 entry points the renderer uses, as a table of function pointers. Each backend
// fills the table from its own context (the window's context on screen, OSMesa off screen), and
// the renderer calls only through it, never a gl function by name: a program that holds libGL and
// libOSMesa at once can then never send a call to the wrong library.

#include <GL/gl.h> // types and constants only

#include <functional>

namespace zarno {

struct GlTable {
    void (*Viewport)(GLint x, GLint y, GLsizei width, GLsizei height) = nullptr;
    void (*MatrixMode)(GLenum mode) = nullptr;
    void (*LoadIdentity)() = nullptr;
    void (*Ortho)(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear,
                  GLdouble zFar) = nullptr;
    void (*ClearColor)(GLclampf r, GLclampf g, GLclampf b, GLclampf a) = nullptr;
    void (*Clear)(GLbitfield mask) = nullptr;
    void (*Color3f)(GLfloat r, GLfloat g, GLfloat b) = nullptr;
    void (*Begin)(GLenum mode) = nullptr;
    void (*End)() = nullptr;
    void (*Vertex2d)(GLdouble x, GLdouble y) = nullptr;
    void (*LineWidth)(GLfloat width) = nullptr;
    void (*RasterPos2d)(GLdouble x, GLdouble y) = nullptr;
    void (*Bitmap)(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, GLfloat ymove,
                   const GLubyte* bitmap) = nullptr;
    void (*PixelStorei)(GLenum pname, GLint param) = nullptr;
    GLuint (*GenLists)(GLsizei range) = nullptr;
    void (*NewList)(GLuint list, GLenum mode) = nullptr;
    void (*EndList)() = nullptr;
    void (*DeleteLists)(GLuint list, GLsizei range) = nullptr;
    void (*ListBase)(GLuint base) = nullptr;
    void (*CallLists)(GLsizei n, GLenum type, const GLvoid* lists) = nullptr;
    void (*PushAttrib)(GLbitfield mask) = nullptr;
    void (*PopAttrib)() = nullptr;
    void (*PushClientAttrib)(GLbitfield mask) = nullptr;
    void (*PopClientAttrib)() = nullptr;
    void (*Flush)() = nullptr;
    void (*Finish)() = nullptr;
    void (*ReadPixels)(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                       GLvoid* pixels) = nullptr;
    GLenum (*GetError)() = nullptr;
    // Vertex arrays: not used by the renderer's immediate mode; the benchmark's baseline draws with them.
    void (*EnableClientState)(GLenum array) = nullptr;
    void (*DisableClientState)(GLenum array) = nullptr;
    void (*VertexPointer)(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) = nullptr;
    void (*DrawArrays)(GLenum mode, GLint first, GLsizei count) = nullptr;
};

// Looks up one entry point by its GL name ("glBegin"); null when the context has none.
using GlProcLookup = std::function<void*(const char* name)>;

// Fills every entry of the table through lookup. False, with the table left as it was, when any
// entry is missing; missing names the first absent entry point.
bool FillGlTable(GlTable& table, const GlProcLookup& lookup, const char** missing = nullptr);

// Why a backend could not give the renderer a context; each has the message the user sees.
enum class GlContextFailure {
    None,
    PixelFormatChoice, // "ChoosePixelFormat::Error"
    PixelFormatSet,    // "SetPixelFormat::Error"
    ContextCreation,   // "wglCreateContext::Error"
    MakeCurrent,       // "wglMakeCurrent::Error"
};

// A context as a backend hands it to the scene: its table, or why there is none, and how to
// show a finished frame (empty when the surface shows itself, as a Qt GL widget does).
struct GlBinding {
    GlContextFailure failure = GlContextFailure::None;
    GlTable table;
    std::function<void()> swapBuffers;
};

} // namespace zarno
