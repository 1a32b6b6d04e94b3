// Text sprites: measuring, the signature, the field, wrapping, text files and drawing.
#include "sprites/TextSprite.h"

#include <gtest/gtest.h>

#include <string>

#include "../media/BankFiles.h"

namespace vornel {
namespace {

using test::appendVarInt;
using test::Bytes;

Ref<String> text(const char* chars) {
    return new String(chars, 0, static_cast<int32_t>(std::char_traits<char>::length(chars)));
}

class TextSpriteTest : public testing::Test {
protected:
    // Space 4 (tab stops every 16), line height 5; '0' to 'z' are one row of three solid pixels.
    void SetUp() override {
        const int32_t glyphs = 'z' - '0' + 1;
        Bytes file = {4, 5, 0, '0', 'z'};
        for (int32_t i = 0; i < glyphs; ++i) {
            file.insert(file.end(), {1, 3});  // one byte of runs, three pixels wide
        }
        appendVarInt(file, glyphs);
        file.insert(file.end(), glyphs, 0x3F);
        m_folder.writeFile("f15.bin", file);
        Ref<Font> font = new Font();
        ASSERT_TRUE(font->load(*String::fromLiteral("f15.bin")));
        TextSprite::setDefaultFont(font);  // the content set-up's part: every test sets its own
    }

    // The field as it reads on the screen.
    static std::string shownField(TextSprite& sprite) {
        std::string shown;
        for (int32_t i = sprite.m_fieldLength - 1; i >= 0; --i) {
            shown += static_cast<char>(sprite.m_field[i]);
        }
        return shown;
    }
    static Ref<TextSprite> wrapped(Ref<String> chars, int32_t width) {
        Ref<TextSprite> sprite = new TextSprite();
        sprite->setSize(width, 0);
        sprite->setWrappedText(std::move(chars));
        return sprite;
    }
    static Ref<TextSprite> wrapped(const char* chars, int32_t width) { return wrapped(text(chars), width); }

    test::BankFolder m_folder;
};

TEST_F(TextSpriteTest, TwoLinesMeasureTwoLineHeightsAndTheLongerLinePlusOne) {
    Ref<TextSprite> sprite = new TextSprite(text("ab\nc"));
    EXPECT_EQ(sprite->width(), 1 + 3 + 3);
    EXPECT_EQ(sprite->height(), 10);
    sprite->setText(text("a\tb"));  // the tab reaches column 16
    EXPECT_EQ(sprite->width(), 16 + 3);
}

TEST_F(TextSpriteTest, TextWithTheSameCharacterSumKeepsTheSignature) {
    Ref<TextSprite> sprite = new TextSprite(text("ab"));
    const int32_t before = sprite->signature(0, 0, kFixedOne);
    EXPECT_EQ(sprite->m_checksum, 'a' + 'b');
    sprite->setText(text("ba"));
    EXPECT_EQ(sprite->signature(0, 0, kFixedOne), before);
    sprite->setText(text("bb"));
    EXPECT_EQ(sprite->signature(0, 0, kFixedOne), before + 1);
}

TEST_F(TextSpriteTest, NumbersKeepTheirLowestDigitsAndFieldsTheirLastCharacters) {
    Ref<TextSprite> sprite = new TextSprite(text("x"));
    sprite->setFieldSize(3);
    EXPECT_EQ(sprite->width(), 4 + 3 * 3);  // room for three digits
    sprite->setNumber(0);
    EXPECT_EQ(shownField(*sprite), "0");
    sprite->setNumber(1234);
    EXPECT_EQ(shownField(*sprite), "234");
    EXPECT_EQ(sprite->width(), 4 + 3 * 3);
    EXPECT_EQ(sprite->m_checksum, 'x' + '2' + '3' + '4');
    sprite->setField(text("abcdef"));
    EXPECT_EQ(shownField(*sprite), "def");
}

TEST_F(TextSpriteTest, ASpriteWithoutAFieldIgnoresNumbers) {
    Ref<TextSprite> sprite = new TextSprite(text("x"));
    sprite->setNumber(42);
    sprite->setField(text("ab"));
    EXPECT_EQ(sprite->m_fieldLength, 0);
    EXPECT_EQ(sprite->width(), 4);
}

TEST_F(TextSpriteTest, WrappingBreaksAtTheLastSpaceAndNeverInsideAWord) {
    EXPECT_STREQ(wrapped("aa bb cc", 15)->name()->text(), "aa\nbb\ncc");
    EXPECT_STREQ(wrapped("aaaaaa bb", 10)->name()->text(), "aaaaaa\nbb");
    // A newline does not forget the space before it: a long next line breaks there.
    EXPECT_STREQ(wrapped("a b\ncccc", 12)->name()->text(), "a\nb\ncccc");
}

TEST_F(TextSpriteTest, WrappingNeverWritesIntoTheSharedLiteral) {
    String* literal = String::fromLiteral("aa bb cc");
    EXPECT_STREQ(wrapped(literal, 15)->name()->text(), "aa\nbb\ncc");
    EXPECT_STREQ(literal->text(), "aa bb cc");
}

TEST_F(TextSpriteTest, LoadedTextIsWrappedAndAMissingFileLeavesItEmpty) {
    m_folder.writeFile("help.txt", Bytes{'a', 'a', ' ', 'b', 'b'});
    Ref<TextSprite> sprite = new TextSprite();
    sprite->setSize(10, 0);
    sprite->loadText(*String::fromLiteral("help.txt"));
    EXPECT_STREQ(sprite->name()->text(), "aa\nbb");

    testing::internal::CaptureStderr();
    sprite->loadText(*String::fromLiteral("cookies.txt"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "text file cookies.txt is missing\n");
    EXPECT_STREQ(sprite->name()->text(), "");
}

TEST_F(TextSpriteTest, DrawingFillsThenPaintsTextLinesAndTheFieldWithShadows) {
    Ref<TextSprite> sprite = new TextSprite(text("a\nb"));
    sprite->setFieldSize(1);
    sprite->setField(text("c"));
    sprite->setColor(0xFF202020);
    sprite->setTextColor(0xFF0000FF);
    sprite->setPosition(2, 1);
    sprite->layout(0, 0, kFixedOne);
    ASSERT_EQ(sprite->m_right, 2 + 7);
    ASSERT_EQ(sprite->m_bottom, 1 + 10);

    Array<uint32_t> surface = allocInt<uint32_t>(12 * 12);
    const uint32_t outside = 0xFF808080;
    for (int32_t i = 0; i < surface.length(); ++i) {
        surface[i] = outside;
    }
    sprite->draw(surface, 12, 12, 2, 1, 9, 11, kFixedOne);
    auto at = [&surface](int32_t x, int32_t y) { return surface[y * 12 + x]; };
    const uint32_t fill = 0xFF202020;
    const uint32_t shadow = 0x00101010;
    const uint32_t glyph = 0xFF0000FF;
    EXPECT_EQ(at(2, 1), fill);  // the one-pixel margin
    EXPECT_EQ(at(3, 1), glyph);  // 'a'
    EXPECT_EQ(at(5, 1), glyph);
    EXPECT_EQ(at(6, 1), fill);
    EXPECT_EQ(at(3, 2), fill);
    EXPECT_EQ(at(4, 2), shadow);
    EXPECT_EQ(at(6, 2), shadow);
    EXPECT_EQ(at(3, 6), glyph);  // 'b' one line lower
    EXPECT_EQ(at(6, 6), glyph);  // then the field's 'c'
    EXPECT_EQ(at(8, 6), glyph);
    EXPECT_EQ(at(9, 7), outside);  // shadow of the clip's last column: not cast
    EXPECT_EQ(at(8, 7), shadow);
    EXPECT_EQ(at(1, 1), outside);  // outside the clip
}

}  // namespace
}  // namespace vornel
