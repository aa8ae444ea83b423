#include "app/render/graph_fonts.h"

#include <QFile>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <vector>

namespace zarno {

namespace {

constexpr char kFontPattern[] = "Liberation Mono:bold";
constexpr char kDebianFontPath[] = "/usr/share/fonts/truetype/liberation/LiberationMono-Bold.ttf";

QString FontconfigFile() {
    QString file;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config)
        return file;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(kFontPattern));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcChar8* family = nullptr;
    FcChar8* path = nullptr;
    // fontconfig always answers with something; only the family asked for will do.
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
        QString::fromUtf8(reinterpret_cast<const char*>(family)) == QLatin1String("Liberation Mono") &&
        FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
        file = QString::fromUtf8(reinterpret_cast<const char*>(path));
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    FcConfigDestroy(config);
    return file;
}

// One glyph's bitmap as glBitmap wants it: rows bottom first, most significant bit first, rows
// packed to whole bytes (unpack alignment 1).
std::vector<GLubyte> BottomUpRows(const FT_Bitmap& bitmap) {
    const unsigned rowBytes = (bitmap.width + 7) / 8;
    std::vector<GLubyte> rows(static_cast<std::size_t>(rowBytes) * bitmap.rows);
    for (unsigned r = 0; r < bitmap.rows; ++r) {
        const unsigned char* src = bitmap.buffer + static_cast<std::ptrdiff_t>(r) * bitmap.pitch;
        GLubyte* dst = rows.data() + static_cast<std::size_t>(bitmap.rows - 1 - r) * rowBytes;
        std::copy(src, src + rowBytes, dst);
    }
    return rows;
}

// The glyphs of one font at a cell height (ascent + descent) of cellHeight pixels, one list each.
int BuildFontLists(const GlTable& gl, FT_Face face, int cellHeight, GLuint base) {
    FT_Size_RequestRec request{};
    request.type = FT_SIZE_REQUEST_TYPE_CELL;
    request.height = static_cast<FT_Long>(cellHeight) * 64;
    FT_Request_Size(face, &request);
    int advance = 0;
    for (int c = 0; c < kGraphGlyphCount; ++c) {
        const auto code = static_cast<FT_ULong>(kGraphFirstGlyph + c);
        gl.NewList(base + static_cast<GLuint>(c), GL_COMPILE);
        if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) == 0) {
            const FT_GlyphSlot g = face->glyph;
            const std::vector<GLubyte> rows = BottomUpRows(g->bitmap);
            const auto move = static_cast<GLfloat>(g->advance.x >> 6);
            advance = static_cast<int>(move);
            // The raster position is the glyph's origin on the baseline.
            gl.Bitmap(static_cast<GLsizei>(g->bitmap.width), static_cast<GLsizei>(g->bitmap.rows),
                      static_cast<GLfloat>(-g->bitmap_left),
                      static_cast<GLfloat>(static_cast<int>(g->bitmap.rows) - g->bitmap_top), move, 0.0f,
                      rows.empty() ? nullptr : rows.data());
        }
        gl.EndList();
    }
    return advance;
}

} // namespace

QString GraphFontFile() {
    // The file where Debian's package puts the font is taken as it is: fontconfig would read its
    // whole configuration and font list first, a good part of the time a picture takes to draw.
    if (QFile::exists(kDebianFontPath))
        return QString::fromLatin1(kDebianFontPath);
    // Elsewhere fontconfig is asked, once.
    static const QString found = FontconfigFile();
    return !found.isEmpty() && QFile::exists(found) ? found : QString();
}

bool CGraphFonts::Create(const GlTable& gl, int scale, QString* error) {
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QString file = GraphFontFile();
    if (file.isEmpty())
        return fail(QStringLiteral("the font Liberation Mono Bold is not installed (Debian package fonts-liberation)"));
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return fail(QStringLiteral("FreeType cannot start"));
    FT_Face face = nullptr;
    if (FT_New_Face(library, QFile::encodeName(file).constData(), 0, &face) != 0) {
        FT_Done_FreeType(library);
        return fail(QStringLiteral("cannot read the font file %1").arg(file));
    }
    const int k = scale < 1 ? 1 : scale;
    gl.PushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl.PixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    gl.PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    for (std::size_t f = 0; f < kGraphFontCount; ++f) {
        m_bases.base[f] = gl.GenLists(kGraphGlyphCount);
        m_advance[f] = BuildFontLists(gl, face, kGraphFontCellHeights[f] * k, m_bases.base[f]);
    }
    gl.PopClientAttrib();
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return true;
}

void CGraphFonts::Delete(const GlTable& gl) {
    for (GLuint& base : m_bases.base) {
        if (base != 0)
            gl.DeleteLists(base, kGraphGlyphCount);
        base = 0;
    }
    m_advance = {};
}

int CGraphFonts::Advance(int font) const {
    return font >= 1 && font <= kGraphFontCount ? m_advance[static_cast<std::size_t>(font - 1)] : 0;
}

} // namespace zarno
