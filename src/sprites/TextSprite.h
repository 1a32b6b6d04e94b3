// Text on the screen: a string, optionally followed by a short field of characters (a number
// or a typed name), drawn in a bitmap font.
#pragma once

#include <cstdint>

#include "core/Array.h"
#include "core/Fixed.h"
#include "core/Ref.h"
#include "core/String.h"
#include "sprites/Font.h"
#include "sprites/Psprite.h"

namespace vornel {

class TextSprite final : public Psprite {
public:
    // No text and no field, in the default font and text colour.
    TextSprite();
    explicit TextSprite(Ref<String> text);

    // The base signature plus the character sum, so that new text of the same size in the
    // same place still repaints (unless its characters add up to the same sum).
    int32_t signature(Fixed x, Fixed y, Fixed scale) override;
    // The fill over the clip, the text (tabs and newlines honoured), then the field on the
    // text's last line. Children are not drawn.
    void draw(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t clipLeft, int32_t clipTop,
              int32_t clipRight, int32_t clipBottom, Fixed opacity) override;
    Ref<String> name() override;

    // Size and checksum from font, text and field: one line height per line, the widest line
    // plus a one-pixel left margin.
    virtual void measure();
    // Shows the string's last characters, as many as the field holds.
    virtual void setField(Ref<String> text);
    // Shows the decimal digits of n, the lowest ones when the field is too short.
    virtual void setNumber(int32_t n);
    // Gives the sprite a field of n characters and widens it by n digit widths.
    virtual void setFieldSize(int32_t n);
    // Wraps the whole file "/" + name of the program folder into the sprite's current width.
    virtual void loadText(const String& name);
    virtual void setFontAndText(Ref<Font> font, Ref<String> text);
    virtual void setText(Ref<String> text);
    // Whether the first length bytes are text: no control bytes but tabs and line ends.
    static bool isText(const Array<uint8_t>& bytes, int32_t length);
    // Breaks the text at spaces into lines no wider than the sprite; a word wider than the
    // sprite stays whole.
    virtual void setWrappedText(Ref<String> text);
    virtual void setTextColor(uint32_t color);

    // The font and colour new text sprites start with. The game sets them once at start-up.
    static Ref<Font> defaultFont();
    static void setDefaultFont(Ref<Font> font);
    static void setDefaultTextColor(uint32_t color);

    Ref<Font> m_font;
    Array<uint8_t> m_field;     // the field's characters, last character first
    int32_t m_fieldLength = 0;  // characters in use
    int32_t m_fieldSize = 0;    // capacity
    Ref<String> m_text;         // may hold newlines and tabs
    uint32_t m_textColor = 0;   // 0xAARRGGBB
    int32_t m_checksum = 0;     // sum of the text's and field's characters, as signed bytes

protected:
    ~TextSprite() override;

private:
    // Largest text file loadText takes; the game's longest text is some 16 KB.
    static constexpr int32_t kMaxTextFile = 1 << 20;

    // The text's characters; a sprite without text reads as empty.
    const char* textChars() const;
    // Characters the field can hold.
    int32_t fieldCapacity() const;
    // The whole file, at most kMaxTextFile bytes of it; length receives the count read.
    Array<uint8_t> readWhole(FileStream& stream, const String& name, int32_t& length);
};

}  // namespace vornel
