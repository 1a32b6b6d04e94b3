// A small scene of every kind of sprite, rendered by a screen and checked at chosen pixels.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "../media/BankFiles.h"
#include "sprites/Font.h"
#include "sprites/Menu.h"
#include "sprites/Screen.h"
#include "sprites/TextSprite.h"
#include "sprites/World.h"

namespace vornel {
namespace {

using Rect = std::array<int32_t, 4>;

class PresentingHost : public ScreenHost {
public:
    void presentRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        presented.push_back({left, top, right, bottom});
    }
    void playSound(const String&, int32_t) override {}
    std::vector<Rect> presented;
};

// A font of two glyphs, 'A' and 'B': 3 × 5 blocks of full coverage, line height 5.
test::Bytes blockFont() {
    test::Bytes file;
    for (uint32_t value : {2u, 5u, 0u, uint32_t{'A'}, uint32_t{'B'}}) {
        test::appendVarInt(file, value);
    }
    for (int glyph = 0; glyph < 2; ++glyph) {
        test::appendVarInt(file, 1);  // one run byte
        test::appendVarInt(file, 3);  // width
    }
    test::appendVarInt(file, 2);
    file.push_back(0xFF);  // 15 pixels at coverage 15
    file.push_back(0xFF);
    return file;
}

class SceneTest : public testing::Test {
protected:
    void SetUp() override {
        m_folder.writeFile("block.bin", blockFont());
        Ref<Font> font = new Font();
        ASSERT_TRUE(font->load(*String::fromLiteral("block.bin")));
        TextSprite::setDefaultFont(font);

        m_screen = new Screen();
        m_screen->setSize(64, 48);
        m_screen->setColor(0xFF808080);
        m_screen->setHost(m_host);

        Ref<Psprite> panel = new Psprite(0, 0, 64, 16, 0xFF000000);
        panel->setColor2(0xFF0000FF);
        m_screen->addBack(panel);

        Ref<Psprite> label = new TextSprite(String::fromLiteral("AB"));
        label->setPosition(2, 20);
        m_screen->addBack(label);

        Ref<Menu> menu = new Menu();
        menu->addItem(String::fromLiteral("A"));
        menu->addItem(String::fromLiteral("B"));
        menu->setPosition(30, 20);
        m_screen->addBack(menu);

        m_world = new World();
        m_world->setPitch(0);
        m_world->m_focal = int64_t{kFixedOne} << 20;  // a child 32 units ahead is drawn at natural size
        m_world->setCentre(40, 36);
        m_ball = new Psprite(0, 0, 4, 4, 0xFFFF0000);
        m_ball->setPos(0, 0, 0x100000);
        m_world->add(m_ball);
        m_screen->addBack(m_world);
    }
    void TearDown() override {
        m_screen->clear();
    }

    uint32_t pixel(int32_t x, int32_t y) const { return m_screen->m_buffer[y * 64 + x]; }

    test::BankFolder m_folder;
    Ref<PresentingHost> m_host = new PresentingHost();
    Ref<Screen> m_screen;
    Ref<World> m_world;
    Ref<Psprite> m_ball;
};

TEST_F(SceneTest, TheFirstRenderPaintsEverySpriteAndPresentsTheWholeScreen) {
    m_screen->render();

    EXPECT_EQ(m_host->presented, (std::vector<Rect>{{0, 0, 64, 48}}));
    EXPECT_EQ(pixel(5, 0), 0xFF000000u);   // the gradient's first row
    EXPECT_EQ(pixel(5, 8), 0xFF00007Fu);   // half way down its 16 rows
    EXPECT_EQ(pixel(0, 40), 0xFF808080u);  // the screen's own fill
    EXPECT_EQ(pixel(3, 20), 0xFFFFFFFFu);  // 'A' after the one-pixel margin
    EXPECT_EQ(pixel(8, 24), 0xFFFFFFFFu);  // the last pixel of 'B'
    EXPECT_EQ(pixel(9, 20), 0xFF808080u);
    EXPECT_EQ(pixel(32, 22), 0xFFFFFFFFu);  // the selected menu entry at full opacity
    EXPECT_EQ(pixel(32, 27), 0x00D7D7D7u);  // the other at 0x6000: coverage 11 of 16 over grey
    EXPECT_EQ(pixel(41, 37), 0xFFFF0000u);  // the projected child
    EXPECT_EQ(pixel(44, 37), 0xFF808080u);
    EXPECT_EQ(pixel(41, 39), 0xFF808080u);
}

TEST_F(SceneTest, MovingAProjectedChildRepaintsOnlyWhereItWasAndWhereItIs) {
    m_screen->render();
    m_host->presented.clear();

    m_ball->movePosBy(toFixed(5), 0, 0);
    m_screen->render();

    // The pitch's sine of -1 unit lifts the child a hair above row 36, so it starts on row 35.
    EXPECT_EQ(m_host->presented, (std::vector<Rect>{{40, 35, 44, 39}, {45, 35, 49, 39}}));
    EXPECT_EQ(pixel(41, 37), 0xFF808080u);
    EXPECT_EQ(pixel(46, 37), 0xFFFF0000u);

    m_host->presented.clear();
    m_screen->render();  // nothing moved: nothing to repaint
    EXPECT_TRUE(m_host->presented.empty());
}

}  // namespace
}  // namespace vornel
