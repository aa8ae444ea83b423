#include "app/render/graph_context.h"

#include <cstdarg>
#include <cstdio>

namespace zarno {

void DrawGraphText(const GlTable& gl, const GraphFontBases& fonts, int font, const char* format, ...) {
    if (!format)
        return;
    char text[256];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n <= 0)
        return;
    // Only the glyphs that have lists: a byte outside 32 … 127 would call a neighbouring font's list.
    std::size_t length = 0;
    for (const char* c = text; *c; ++c)
        if (static_cast<unsigned char>(*c) >= 32 && static_cast<unsigned char>(*c) < 128)
            text[length++] = *c;
    const int index = font >= 1 && font <= 3 ? font - 1 : 0;
    const GLuint base = fonts.base[static_cast<std::size_t>(index)];
    if (base == 0)
        return;
    gl.PushAttrib(GL_LIST_BIT);
    gl.ListBase(base - 32u);
    gl.CallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, text);
    gl.PopAttrib();
}

} // namespace zarno
