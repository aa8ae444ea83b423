#pragma once
// An OSMesa context drawing into a width × height RGBA buffer in memory, made current on this
// thread for its lifetime. Whatever context was current before (another OSMesa context, or a Qt
// window's) is made current again when it goes.

#include "app/render/gl_table.h"

#include <QImage>
#include <QString>

#include <memory>

namespace zarno {

class OsMesaContext {
public:
    OsMesaContext(int width, int height);
    ~OsMesaContext();
    OsMesaContext(const OsMesaContext&) = delete;
    OsMesaContext& operator=(const OsMesaContext&) = delete;

    bool Ok() const { return m_binding.failure == GlContextFailure::None; }
    QString Error() const { return m_error; }
    // The table of this context (its failure says why there is none).
    const GlBinding& Binding() const { return m_binding; }
    // What has been drawn so far (after a glFinish), 24-bit RGB, row 0 at the top.
    QImage Image() const;

private:
    struct Previous;
    int m_nWidth;
    int m_nHeight;
    std::unique_ptr<unsigned char[]> m_buffer;
    void* m_context = nullptr; // OSMesaContext
    GlBinding m_binding;
    QString m_error;
    std::unique_ptr<Previous> m_previous;
};

} // namespace zarno
