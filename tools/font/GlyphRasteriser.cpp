// FreeType behind a small interface: open a face at a pixel size, render one glyph.
#include "font/GlyphRasteriser.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_DRIVER_H
#include FT_MODULE_H

namespace vornel {

namespace {

// FreeType's 26.6 fixed point (1/64 pixel) to whole pixels, rounded.
int32_t roundedPixels(FT_Pos value) {
    return static_cast<int32_t>((value + 32) >> 6);
}

GlyphBox copyBitmap(const FT_Bitmap& bitmap) {
    GlyphBox box(static_cast<int32_t>(bitmap.width), static_cast<int32_t>(bitmap.rows));
    for (int32_t y = 0; y < box.rows(); ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        for (int32_t x = 0; x < box.width(); ++x) {
            box.setCoverage(x, y, row[x]);
        }
    }
    return box;
}

}  // namespace

GlyphRasteriser::GlyphRasteriser() = default;

GlyphRasteriser::~GlyphRasteriser() {
    close();
}

bool GlyphRasteriser::open(const std::string& path, int32_t pixelSize, Hinting hinting, std::string& error) {
    close();
    m_hinting = hinting;
    if (FT_Init_FreeType(&m_library) != 0) {
        m_library = nullptr;
        error = "FreeType cannot start";
        return false;
    }
    // The classic interpreter obeys the font's horizontal instructions too; the default
    // one since FreeType 2.7 ignores them.
    FT_UInt interpreter = hinting == Hinting::Full ? TT_INTERPRETER_VERSION_35 : TT_INTERPRETER_VERSION_40;
    FT_Property_Set(m_library, "truetype", "interpreter-version", &interpreter);
    if (FT_New_Face(m_library, path.c_str(), 0, &m_face) != 0) {
        m_face = nullptr;
        error = path + " is missing or not a font FreeType can read";
        return false;
    }
    if (FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
        error = path + " cannot be set to " + std::to_string(pixelSize) + " pixels";
        return false;
    }
    return true;
}

bool GlyphRasteriser::hasGlyph(uint32_t codePoint) const {
    return m_face != nullptr && FT_Get_Char_Index(m_face, codePoint) != 0;
}

bool GlyphRasteriser::render(uint32_t codePoint, Glyph& glyph) const {
    if (!hasGlyph(codePoint) || FT_Load_Char(m_face, codePoint, loadFlags()) != 0) {
        return false;
    }
    const FT_GlyphSlot slot = m_face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
        return false;
    }
    glyph.bitmap = copyBitmap(slot->bitmap);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.advance = roundedPixels(slot->advance.x);
    return true;
}

bool GlyphRasteriser::parseHinting(const std::string& name, Hinting& hinting) {
    static constexpr struct {
        const char* name;
        Hinting hinting;
    } kNames[] = {{"none", Hinting::None},
                  {"light", Hinting::Light},
                  {"native", Hinting::Native},
                  {"full", Hinting::Full},
                  {"auto", Hinting::Auto}};
    for (const auto& entry : kNames) {
        if (name == entry.name) {
            hinting = entry.hinting;
            return true;
        }
    }
    return false;
}

void GlyphRasteriser::close() {
    if (m_face != nullptr) {
        FT_Done_Face(m_face);
        m_face = nullptr;
    }
    if (m_library != nullptr) {
        FT_Done_FreeType(m_library);
        m_library = nullptr;
    }
}

int32_t GlyphRasteriser::loadFlags() const {
    switch (m_hinting) {
    case Hinting::None:
        return FT_LOAD_NO_HINTING;
    case Hinting::Light:
        return FT_LOAD_TARGET_LIGHT | FT_LOAD_FORCE_AUTOHINT;
    case Hinting::Native:
    case Hinting::Full:
        return FT_LOAD_TARGET_NORMAL | FT_LOAD_NO_AUTOHINT;
    case Hinting::Auto:
        return FT_LOAD_TARGET_NORMAL | FT_LOAD_FORCE_AUTOHINT;
    }
    return FT_LOAD_DEFAULT;
}

}  // namespace vornel
