// vornel-font-preview: draws sample text in a built font with the game's own text sprites, on
// the menu panel colour, on a translucent panel and over mid-grey, and saves it as a PNG to
// judge by eye.
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bank/PngFile.h"
#include "bank/RgbaImage.h"
#include "core/Ref.h"
#include "core/String.h"
#include "core/RunContext.h"
#include "sprites/Drawing.h"
#include "sprites/Font.h"
#include "sprites/TextSprite.h"

namespace vornel {
namespace {

constexpr const char* kProgram = "vornel-font-preview";
constexpr int32_t kScreenWidth = 240;
constexpr int32_t kScreenHeight = 320;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kPanel = 0xFF404080;
constexpr uint32_t kTranslucentPanel = 0x80404080;
constexpr uint32_t kMidGrey = 0xFF808080;
constexpr uint32_t kTableBlue = 0xFF1C4C8C;
constexpr uint32_t kTableLine = 0xFFE8E8E8;

const char* const kMenu[] = {"New Game", "Resume", "Sound: On", "Level: Easy", "Help", "About", "Exit"};
constexpr const char* kFortune =
    "A ball that clips the net and drops dead on your side is the table's way of asking for patience.";

struct Surface {
    Array<uint32_t> pixels = allocInt<uint32_t>(kScreenWidth * kScreenHeight);

    void fill(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t color) const {
        Drawing::fillRect(surfaceOf(pixels, kScreenWidth, kScreenHeight), {left, top, right, bottom}, color);
    }
};

Ref<String> toString(const std::string& text) {
    return new String(text.data(), 0, static_cast<int32_t>(text.size()));
}

// A text sprite of the text, wrapped to wrapWidth pixels when that is not 0.
Ref<TextSprite> textSprite(const Ref<Font>& font, const std::string& text, int32_t wrapWidth = 0) {
    Ref<TextSprite> sprite = new TextSprite();
    sprite->setTextColor(kWhite);
    sprite->setFontAndText(font, toString(text));
    if (wrapWidth > 0) {
        sprite->setSize(wrapWidth, sprite->m_height);
        sprite->setWrappedText(toString(text));
    }
    return sprite;
}

// Draws the sprite with its top-left corner at (x, y), as the screen's repaint would with
// the whole screen dirty; answers the row below it.
int32_t drawAt(TextSprite& sprite, const Surface& surface, int32_t x, int32_t y) {
    sprite.m_fixLeft = x << kFixedShift;
    sprite.m_fixTop = y << kFixedShift;
    sprite.draw(surface.pixels, kScreenWidth, kScreenHeight, 0, 0, kScreenWidth, kScreenHeight, kFixedOne);
    return y + sprite.m_height;
}

int32_t drawText(const Ref<Font>& font, const Surface& surface, const std::string& text, int32_t x, int32_t y) {
    return drawAt(*textSprite(font, text), surface, x, y);
}

int32_t drawCentred(const Ref<Font>& font, const Surface& surface, const std::string& text, int32_t y) {
    Ref<TextSprite> sprite = textSprite(font, text);
    return drawAt(*sprite, surface, (kScreenWidth - sprite->m_width) / 2, y);
}

int32_t drawWrapped(const Ref<Font>& font, const Surface& surface, const std::string& text, int32_t x, int32_t y,
                    int32_t width) {
    return drawAt(*textSprite(font, text, width), surface, x, y);
}

// Every printable ASCII character, broken into lines by hand: it has no spaces to wrap at.
std::string printableAscii() {
    std::string text;
    for (char c = 33; c <= 126; ++c) {
        text += c;
        if (c == '@' || c == ']') {
            text += '\n';
        }
    }
    return text;
}

// The menu, scores and every printable character on the opaque panel; a fortune on the
// translucent panel over a stand-in for the table; the menu and some Latin-1 over mid-grey.
void drawPage(const Ref<Font>& font, const Surface& surface) {
    surface.fill(0, 0, kScreenWidth, 206, kPanel);
    int32_t y = 3;
    for (const char* label : kMenu) {
        y = drawCentred(font, surface, label, y);
    }
    y = drawCentred(font, surface, "Top 5 Scores", y + 2);
    y = drawCentred(font, surface, "11 : 9", y);
    drawText(font, surface, printableAscii(), 4, y + 2);

    surface.fill(0, 206, kScreenWidth, 270, kTableBlue);
    surface.fill(118, 206, 122, 270, kTableLine);
    surface.fill(6, 208, kScreenWidth - 6, 268, kTranslucentPanel);
    y = drawText(font, surface, "Winning fortune:", 8, 209);
    drawWrapped(font, surface, kFortune, 8, y, kScreenWidth - 16);

    surface.fill(0, 270, kScreenWidth, kScreenHeight, kMidGrey);
    drawText(font, surface,
             "New Game  Resume  Sound: On  Help\n"
             "Level: Easy  About  Exit  11 : 9\n"
             "jumpy quilting fox  \xC0\xC9\xD1\xDC\xC5 \xE7\xE9\xF1\xFC\xFF\xDF",
             4, 272);
}

RgbaImage toImage(const Surface& surface, int32_t zoom) {
    RgbaImage image(kScreenWidth * zoom, kScreenHeight * zoom);
    for (int32_t y = 0; y < image.height(); ++y) {
        for (int32_t x = 0; x < image.width(); ++x) {
            const uint32_t pixel = surface.pixels[(y / zoom) * kScreenWidth + x / zoom];
            image.setPixel(x, y, 0xFF000000 | (pixel & 0xFFFFFF));  // the top byte is depth, not alpha
        }
    }
    return image;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
    return 2;
}

}  // namespace
}  // namespace vornel

int main(int argc, char** argv) {
    using namespace vornel;
    const std::vector<std::string> args(argv + 1, argv + argc);
    int32_t zoom = 1;
    if (args.size() == 4 && args[2] == "--zoom") {
        const auto result = std::from_chars(args[3].data(), args[3].data() + args[3].size(), zoom);
        if (result.ec != std::errc() || zoom < 1 || zoom > 8) {
            return fail("bad zoom \"" + args[3] + "\" (1..8)");
        }
    } else if (args.size() != 2) {
        return fail("usage: vornel-font-preview FONT.bin OUT.png [--zoom 1..8]");
    }
    const std::filesystem::path fontPath = std::filesystem::absolute(args[0]);
    const RunContext fontFolder(fontPath.parent_path().string());
    const std::string name = fontPath.filename().string();
    Ref<Font> font = new Font();
    if (!font->load(*Ref<String>(new String(name.data(), 0, static_cast<int32_t>(name.size()))))) {
        return fail(args[0] + " is missing or not a font");
    }
    Surface surface;
    drawPage(font, surface);
    std::string error;
    if (!PngFile::write(args[1], toImage(surface, zoom), error)) {
        return fail(args[1] + ": " + error);
    }
    return 0;
}
