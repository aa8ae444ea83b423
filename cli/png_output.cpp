#include "cli/png_output.h"

#include <QImage>

#include <png.h>

#include <csetjmp>

namespace zarno::cli {

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
    static_cast<QByteArray*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), qsizetype(length));
}

void Flush(png_structp) {}

// libpng's errors return here by longjmp: nothing with a destructor may live between the setjmp and
// the calls that can fail, hence the rows are prepared by the caller.
bool Encode(const QImage& rows, bool alpha, QByteArray& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, Append, Flush);
    png_set_IHDR(png, info, png_uint_32(rows.width()), png_uint_32(rows.height()), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    for (int y = 0; y < rows.height(); ++y)
        png_write_row(png, rows.constScanLine(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

QByteArray EncodePng(const QImage& image) {
    if (image.isNull())
        return {};
    const bool alpha = image.hasAlphaChannel();
    const QImage rows = image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    QByteArray out;
    if (!Encode(rows, alpha, out))
        return {};
    return out;
}

} // namespace zarno::cli
