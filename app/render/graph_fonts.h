#pragma once
// CGraphFonts: the renderer's three bold monospaced bitmap fonts as glBitmap display lists of the
// glyphs 32 … 127, rasterised with FreeType from Liberation Mono Bold (the metric twin of the
// "Courier New" the pictures were designed with). Lists belong to the context they were built
// in: a window's fonts and an off-screen pass's fonts are separate objects.

#include "app/render/graph_context.h"

#include <QString>

namespace zarno {

inline constexpr int kGraphFontCount = 3;
inline constexpr int kGraphFirstGlyph = 32;
inline constexpr int kGraphGlyphCount = 96;
// Cell heights (ascent + descent) of fonts 1, 2, 3 at font scale 1.
inline constexpr std::array<int, kGraphFontCount> kGraphFontCellHeights{15, 48, 32};

// The font file: Debian's fixed path of Liberation Mono Bold, else fontconfig's "Liberation Mono:bold";
// empty when neither is there.
QString GraphFontFile();

class CGraphFonts {
public:
    // Builds the three fonts at cell heights × scale (scale below 1 counts as 1) in the current
    // context of gl. False, with nothing reserved, when the font file cannot be read; error then
    // says why.
    bool Create(const GlTable& gl, int scale, QString* error = nullptr);
    // Deletes the three blocks of 96 lists (in the context they were built in).
    void Delete(const GlTable& gl);

    const GraphFontBases& Bases() const { return m_bases; }
    bool Created() const { return m_bases.base[0] != 0; }
    // Pixel advance of one glyph of font n (1 … 3) as built; 0 before Create.
    int Advance(int font) const;

private:
    GraphFontBases m_bases;
    std::array<int, kGraphFontCount> m_advance{};
};

} // namespace zarno
