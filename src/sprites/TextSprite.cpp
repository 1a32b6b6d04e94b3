// Text sprites: measuring, drawing, the field, wrapping and loading text files.
#include "sprites/TextSprite.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/StringBuffer.h"
#include "sprites/Drawing.h"

namespace vornel {
namespace {

// Never destroyed: text sprites may still be made while the process exits.
Ref<Font>& defaultFontHolder() {
    static auto* const holder = new Ref<Font>();
    return *holder;
}

uint32_t g_defaultTextColor = 0xFFFFFFFF;

// Where glyphs go: the surface and the clip rectangle, in surface pixels.
struct Canvas {
    Surface32 surface;
    Rect clip;
};

// The pen's position is Fixed.
using Pen = FixedPoint;

void drawGlyph(Font& font, int32_t code, const Pen& pen, const Canvas& canvas, uint32_t color, Fixed opacity) {
    font.drawGlyph(code, canvas.surface, canvas.clip, pen, color, opacity);
}

// The text from the pen on. Glyphs wholly beside the clip, or ending above it, are skipped.
// Answers false when a line started below the clip, so nothing further can show.
bool drawText(Font& font, const char* text, Fixed lineStart, Pen& pen, const Canvas& canvas, uint32_t color,
              Fixed opacity) {
    const int32_t lineHeight = font.lineHeight();
    const Fixed lowestVisibleTop = (canvas.clip.top - lineHeight) * kFixedOne;
    for (const char* c = text; *c != '\0'; ++c) {
        const auto code = static_cast<uint8_t>(*c);
        if (code == '\n') {
            pen.y += lineHeight * kFixedOne;
            pen.x = lineStart;
            if ((pen.y >> kFixedShift) > canvas.clip.bottom) {
                return false;
            }
        } else if (code == '\t') {
            pen.x += font.tabAdvance((pen.x - lineStart + kFixedOne) >> kFixedShift) * kFixedOne;
        } else {
            const int32_t width = font.charWidth(code);
            if (width == 0) {
                continue;
            }
            const int32_t left = pen.x >> kFixedShift;
            if (code != ' ' && left < canvas.clip.right && left + width > canvas.clip.left &&
                pen.y > lowestVisibleTop) {
                drawGlyph(font, code, pen, canvas, color, opacity);
            }
            pen.x += width * kFixedOne;
        }
    }
    return true;
}

}  // namespace

TextSprite::TextSprite() : m_font(defaultFontHolder()), m_textColor(g_defaultTextColor) {}

TextSprite::TextSprite(Ref<String> text) : TextSprite() {
    setText(std::move(text));
}

TextSprite::~TextSprite() = default;

// ---- Defaults ----

Ref<Font> TextSprite::defaultFont() {
    return defaultFontHolder();
}

void TextSprite::setDefaultFont(Ref<Font> font) {
    defaultFontHolder() = std::move(font);
}

void TextSprite::setDefaultTextColor(uint32_t color) {
    g_defaultTextColor = color;
}

// ---- Placement and drawing ----

int32_t TextSprite::signature(Fixed x, Fixed y, Fixed scale) {
    return Psprite::signature(x, y, scale) + m_checksum;
}

void TextSprite::draw(const Array<uint32_t>& surface, int32_t stride, int32_t rows, int32_t clipLeft,
                      int32_t clipTop, int32_t clipRight, int32_t clipBottom, Fixed opacity) {
    const Fixed effective = fmul(opacity, m_opacity);
    const Canvas canvas{surfaceOf(surface, stride, rows), {clipLeft, clipTop, clipRight, clipBottom}};
    Drawing::fillRect(canvas.surface, canvas.clip, m_color);
    if (!m_font) {
        return;
    }
    // One pixel of margin on the left, as measure counts it.
    const Fixed lineStart = m_fixLeft + kFixedOne;
    Pen pen{lineStart, m_fixTop};
    if (!drawText(*m_font, textChars(), lineStart, pen, canvas, m_textColor, effective)) {
        return;
    }
    // The field follows on the text's last line; each glyph clips itself.
    const int32_t used = std::min(m_fieldLength, m_field.length());
    for (int32_t i = used - 1; i >= 0; --i) {
        const int32_t code = m_field[i];
        const int32_t width = m_font->charWidth(code);
        if (code != ' ' && width != 0) {
            drawGlyph(*m_font, code, pen, canvas, m_textColor, effective);
        }
        pen.x += width * kFixedOne;
    }
}

Ref<String> TextSprite::name() {
    return m_text ? m_text : Ref<String>(String::fromLiteral(""));
}

// ---- Text and field ----

const char* TextSprite::textChars() const {
    return m_text ? m_text->text() : "";
}

int32_t TextSprite::fieldCapacity() const {
    return std::min(m_fieldSize, m_field.length());
}

void TextSprite::measure() {
    if (!m_font) {
        m_checksum = 0;
        return;
    }
    const int32_t lineHeight = m_font->lineHeight();
    int32_t x = 1;  // the left margin
    int32_t widest = 0;
    int32_t height = lineHeight;
    int32_t checksum = 0;
    for (const char* c = textChars(); *c != '\0'; ++c) {
        const auto code = static_cast<uint8_t>(*c);
        checksum += static_cast<int8_t>(code);
        if (code == '\n') {
            widest = std::max(widest, x);
            height += lineHeight;
            x = 1;
        } else if (code == '\t') {
            x += m_font->tabAdvance(x);
        } else {
            x += m_font->charWidth(code);
        }
    }
    for (int32_t i = std::min(m_fieldLength, m_field.length()) - 1; i >= 0; --i) {
        checksum += static_cast<int8_t>(m_field[i]);
        x += m_font->charWidth(m_field[i]);
    }
    m_width = std::max(widest, x);
    m_height = height;
    m_checksum = checksum;
}

void TextSprite::setField(Ref<String> text) {
    const int32_t capacity = fieldCapacity();
    if (capacity <= 0) {
        return;
    }
    const char* chars = text ? text->text() : "";
    m_fieldLength = 0;
    for (int32_t i = static_cast<int32_t>(std::strlen(chars)) - 1; i >= 0 && m_fieldLength < capacity; --i) {
        m_field[m_fieldLength++] = static_cast<uint8_t>(chars[i]);
    }
    measure();
}

void TextSprite::setNumber(int32_t n) {
    const int32_t capacity = fieldCapacity();
    if (capacity <= 0) {
        return;
    }
    // Unsigned, so that the most negative number has a magnitude too.
    uint32_t magnitude = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
    m_fieldLength = 0;
    do {
        m_field[m_fieldLength++] = static_cast<uint8_t>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0 && m_fieldLength < capacity);
    if (n < 0 && m_fieldLength < capacity) {
        m_field[m_fieldLength++] = '-';
    }
    measure();
}

void TextSprite::setFieldSize(int32_t n) {
    m_field = allocByte(n);
    m_fieldSize = m_field.length();
    m_fieldLength = 0;
    if (m_font) {
        m_width += m_font->charWidth('0') * m_fieldSize;
    }
}

void TextSprite::setFontAndText(Ref<Font> font, Ref<String> text) {
    m_font = std::move(font);
    setText(std::move(text));
}

void TextSprite::setText(Ref<String> text) {
    m_text = std::move(text);
    measure();
}

void TextSprite::setTextColor(uint32_t color) {
    m_textColor = color;
}

// ---- Wrapping ----

void TextSprite::setWrappedText(Ref<String> text) {
    if (!m_font) {
        m_font = defaultFont();
    }
    const int32_t length = text ? text->length() : 0;
    if (length == 0 || !m_font) {
        setText(std::move(text));
        return;
    }
    // The string may be an interned literal shared by the whole program: wrap a copy.
    Array<uint8_t> chars = allocByte(length);
    if (chars.length() != length) {
        setText(std::move(text));
        return;
    }
    std::memcpy(chars.data(), text->text(), static_cast<std::size_t>(length));

    const int32_t limit = m_width;
    int32_t x = 1;
    int32_t spaceAt = -1;  // index of the last space since the last break
    int32_t xAfterSpace = 0;
    for (int32_t i = 0; i < length; ++i) {
        const int32_t code = chars[i];
        if (code == '\n') {
            x = 1;  // the remembered space stays: a later overflow may still break there
        } else if (code == '\t') {
            x += m_font->tabAdvance(x);
        } else {
            x += m_font->charWidth(code);
            if (code == ' ') {
                spaceAt = i;
                xAfterSpace = x;
            }
        }
        if (x > limit) {
            x -= xAfterSpace;
            if (spaceAt >= 0) {
                chars[spaceAt] = '\n';
            }
            spaceAt = -1;
            xAfterSpace = 0;
        }
    }
    setText(new String(reinterpret_cast<const char*>(chars.data()), 0, length));
}

// ---- Text files ----

// Text is printable characters, tabs and line ends; any other control byte (a zero, most
// often) means the file is not the text it should be.
bool TextSprite::isText(const Array<uint8_t>& bytes, int32_t length) {
    for (int32_t i = 0; i < length; ++i) {
        const uint8_t byte = bytes[i];
        if (byte < ' ' && byte != '\t' && byte != '\n' && byte != '\r') {
            return false;
        }
    }
    return true;
}

void TextSprite::loadText(const String& name) {
    Ref<StringBuffer> path = new StringBuffer();
    path->append('/');
    path->append(name);
    Ref<FileStream> stream = openStream(*path->toString());
    if (!stream) {
        std::fprintf(stderr, "text file %s is missing\n", name.text());
        setText(String::fromLiteral(""));
        return;
    }
    int32_t length = 0;
    const Array<uint8_t> bytes = readWhole(*stream, name, length);
    stream->close();
    if (!isText(bytes, length)) {
        std::fprintf(stderr, "text file %s is damaged: it holds bytes that are not text\n", name.text());
        setText(String::fromLiteral(""));
        return;
    }
    setWrappedText(new String(reinterpret_cast<const char*>(bytes.data()), 0, length));
}

Array<uint8_t> TextSprite::readWhole(FileStream& stream, const String& name, int32_t& length) {
    int32_t capacity = 4096;
    Array<uint8_t> buffer = allocByte(capacity);
    length = 0;
    while (!buffer.isEmpty()) {
        length += readFully(stream, buffer, length, capacity - length);
        if (length < capacity) {
            break;  // the file ended
        }
        if (capacity >= kMaxTextFile) {
            if (stream.readByte() >= 0) {
                std::fprintf(stderr, "text file %s is longer than %d bytes; the rest is left out\n", name.text(),
                             kMaxTextFile);
            }
            break;
        }
        Array<uint8_t> larger = allocByte(capacity * 2);
        if (larger.isEmpty()) {
            std::fprintf(stderr, "no memory for text file %s; the rest is left out\n", name.text());
            break;
        }
        arrayCopy(buffer, 0, larger, 0, length);
        buffer = std::move(larger);
        capacity *= 2;
    }
    return buffer;
}

}  // namespace vornel
