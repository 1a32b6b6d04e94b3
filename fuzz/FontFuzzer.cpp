// Fuzz target of the font loader: the input is written as a font file of a program folder of
// its own and loaded; every glyph of a font that loads is measured and drawn.
#include <cstddef>
#include <cstdint>

#include "FuzzFolder.h"
#include "core/ProgramFolder.h"
#include "core/RunContext.h"
#include "sprites/Font.h"

namespace {

using namespace vornel;

constexpr int32_t kSurfaceWidth = 48;
constexpr int32_t kSurfaceHeight = 32;

// Opaque text casts a shadow and faded text does not: both ways of painting a glyph.
void drawGlyphs(Font& font, const Array<uint32_t>& surface) {
    for (int32_t code = font.firstChar(); code <= font.lastChar(); ++code) {
        const Fixed x = toFixed(font.charWidth(code) % kSurfaceWidth - 4);
        font.drawChar(code, surface, kSurfaceWidth, kSurfaceHeight, 0, 0, kSurfaceWidth, kSurfaceHeight, x,
                      toFixed(-2), 0xFFFFFFFF, kFixedOne);
        font.drawChar(code, surface, kSurfaceWidth, kSurfaceHeight, 0, 0, kSurfaceWidth, kSurfaceHeight, 0, 0,
                      0xFF808080, kFixedOne / 3);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static fuzz::FuzzFolder folder("font");
    folder.write("fuzz.bin", data, size);
    const RunContext context(folder.path().string());

    Ref<Font> font = new Font();
    if (!font->load(*String::fromLiteral("fuzz.bin"))) {
        return 0;
    }
    font->textWidth(*String::fromLiteral("Top 5 Scores\t99\tEasy"));
    drawGlyphs(*font, allocInt<uint32_t>(kSurfaceWidth * kSurfaceHeight));
    return 0;
}
