// The projecting world and the table view: projection, hiding, sorting, re-projection, the
// camera settings, fitting to the screen, and the kept table image with its depth layer.
#include "sprites/World.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "../media/BankFiles.h"
#include "media/PictureBank.h"
#include "sprites/TableWorld.h"

namespace vornel {
namespace {

using Rect = std::array<int32_t, 4>;

// A parent that records the dirty rectangles reported up to it.
class Recorder : public Psprite {
public:
    void invalidate(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        m_reported.push_back({left, top, right, bottom});
    }
    std::vector<Rect> m_reported;
};

Ref<Psprite> makeChild(Fixed x, Fixed y, Fixed z, int32_t width, int32_t height) {
    Ref<Psprite> child = new Psprite();
    child->setSize(width, height);
    child->setPos(x, y, z);
    return child;
}

Rect rectOf(const Psprite& sprite) { return {sprite.m_left, sprite.m_top, sprite.m_right, sprite.m_bottom}; }

constexpr Fixed kOneDepth = 0x100000;  // 32 units ahead: where this world projects at 1.0

// Camera at the origin looking along z, axis through screen pixel (50, 40), and a focal of
// 2^35, so that f = 2^35 / 0x100000 = 0x8000 at kOneDepth: offsets there are 1:1 in pixels.
class WorldTest : public testing::Test {
protected:
    void SetUp() override {
        m_world->setFocal(512, 1);
        m_world->setCentre(50, 40);
        m_world->add(m_child);
    }
    void TearDown() override { m_world->clear(); }  // children and parent hold each other
    // Moves the 10 x 6 child to (5, 3, z), lays the world out and answers the child's rectangle.
    Rect placeAt(Fixed z) {
        m_child->setPos(toFixed(5), toFixed(3), z);
        m_world->layout(0, 0, kFixedOne);
        return rectOf(*m_child);
    }
    Ref<World> m_world = new World();
    Ref<Psprite> m_child = makeChild(0, 0, 0, 10, 6);
};

TEST_F(WorldTest, ChildAtOrNearerThanTheNearestDepthIsHiddenUntilMovedBack) {
    const Rect hidden{0, 0, 0, 0};
    EXPECT_EQ(placeAt(0), hidden);  // exactly at the camera
    EXPECT_EQ(placeAt(kOneDepth), (Rect{55, 37, 65, 43}));
    EXPECT_EQ(m_child->m_depth, kOneDepth / 2);
    EXPECT_EQ(placeAt(0xC0000), hidden);
    EXPECT_EQ(placeAt(0xC0001), (Rect{56, 36, 69, 43}));  // the nearest shown: f = 43690
    EXPECT_EQ(placeAt(-kOneDepth), hidden);                // behind the camera
    EXPECT_EQ(placeAt(0x8000000), (Rect{50, 39, 50, 39}));  // the farthest shown: f = 256
    EXPECT_EQ(placeAt(0x8000001), hidden);
}

TEST_F(WorldTest, ProjectedScalesNearOneAreDrawnUnscaled) {
    m_child->setSize(100, 6);
    m_child->setPos(toFixed(5), toFixed(3), kOneDepth);
    const struct {
        Fixed scale, inverse;
        Rect rect;
    } cases[] = {
        {0x799B, 0x8000, {55, 37, 155, 43}},
        {0x8665, 0x8000, {55, 37, 155, 43}},
        {0x799A, 34492, {55, 37, 150, 42}},  // 2^30 / 0x799A
        {0x8666, 31207, {55, 37, 159, 43}},
    };
    for (const auto& c : cases) {
        m_child->setScale(c.scale);
        m_world->project(*m_child);
        EXPECT_EQ(m_child->m_invScale, c.inverse) << c.scale;
        EXPECT_EQ(rectOf(*m_child), c.rect) << c.scale;
    }
}

TEST_F(WorldTest, WorldScaleShrinksOffsetsAndSizes) {
    m_world->setScale(0x4000);
    EXPECT_EQ(placeAt(kOneDepth), (Rect{52, 38, 57, 41}));
    EXPECT_EQ(m_child->m_x, toFixed(50) + 0x14000);  // 2.5 pixels right of the axis
    EXPECT_EQ(m_child->m_invScale, 0x10000);
}

TEST_F(WorldTest, PitchAndFocalSettings) {
    m_world->setPitch(0);
    EXPECT_EQ(m_world->m_cos, 32767);
    EXPECT_EQ(m_world->m_sin, -1);
    m_world->setPitch(0x800);
    EXPECT_EQ(m_world->m_sin, -13415);
    EXPECT_EQ(m_world->m_cos, 29799);

    m_world->setFocal(0x2CCA, 480);
    EXPECT_EQ(m_world->m_focal, 736459907667);  // 480 * 2^45 / 22932, truncated
    m_world->setFocal(0, 7);
    EXPECT_EQ(m_world->m_focal, 736459907667);
    m_world->setFocal(-3, 1);
    EXPECT_EQ(m_world->m_focal, -5864062014805);  // truncated toward zero
    m_world->setFocal(5, 0x10000);                 // b * 2^15 wraps to -2^31 first
    EXPECT_EQ(m_world->m_focal, -230584300921369395);
}

TEST_F(WorldTest, ChildrenSwapPlacesWhenTheirDepthOrderChanges) {
    Ref<Psprite> far = makeChild(0, 0, 2 * kOneDepth, 4, 4);
    m_world->add(far);  // behind the child: both still have depth 0
    placeAt(kOneDepth);
    EXPECT_EQ(m_world->m_firstChild, far);
    EXPECT_EQ(far->m_next, m_child);

    far->setPos(0, 0, 0xE0000);  // now the nearer of the two
    m_world->layout(0, 0, kFixedOne);
    EXPECT_EQ(m_world->m_firstChild, m_child);
    EXPECT_EQ(m_child->m_next, far);
    EXPECT_FALSE(far->m_next);
    EXPECT_EQ(far->m_parent.get(), m_world.get());
}

TEST_F(WorldTest, NewPictureNumberReprojectsAndReportsBothRectangles) {
    Ref<Recorder> screen = new Recorder();
    screen->add(m_world);
    m_child->setPictureNumber(2);
    placeAt(kOneDepth);
    screen->m_reported.clear();
    screen->layout(0, 0, kFixedOne);
    EXPECT_TRUE(screen->m_reported.empty());

    m_child->setPictureNumber(3);
    m_child->setSize(20, 6);  // not part of the child signature: seen only through re-projection
    screen->layout(0, 0, kFixedOne);
    EXPECT_EQ(screen->m_reported, (std::vector<Rect>{{55, 37, 65, 43}, {55, 37, 75, 43}}));
    screen->clear();
}

// ---- The table view ----

struct FitCase {
    int32_t screenWidth, screenHeight, tableWidth, tableHeight;
    Fixed scale;
    int32_t x, y;
};

TEST(TableWorldTest, FitToSnapsTheScaleAndPlacesTheCentre) {
    // Worked out by hand: k = 280 or 360, cy = H k / 640, pw, scale = W 2^15 / pw with the
    // 0x7334..0x8CCB snap, hs = H 2^15 / height, e = scale 220 >> 15.
    const FitCase cases[] = {
        {240, 320, 232, 400, 0x8000, 120, 240},  // 33897 snapped; portrait: cy = 320 * 480 / 640
        {240, 320, 219, 400, 0x8000, 120, 240},  // 35910: the top of the snap
        {240, 320, 218, 400, 36074, 120, 240},   // just above it
        {240, 320, 400, 800, 0x8000, 120, 180},  // pw = 266: 29565 snapped; cy = 320 * 360 / 640
        {240, 320, 401, 800, 29454, 120, 180},   // pw = 267: below the snap
        {176, 220, 232, 400, 37449, 88, 123},    // pw = 154; cy = 220 * 360 / 640
        {176, 220, 600, 800, 14417, 88, 124},    // e = 96: 123 + 96 < 220, so cy = 220 - 96
        {320, 240, 232, 400, 45197, 160, 105},   // landscape: cy = 240 * 280 / 640
        {320, 240, 232, 100, 78643, 160, -287},  // hs = 78643 wins: cy = 240 - 527
    };
    for (const FitCase& c : cases) {
        Ref<TableWorld> table = new TableWorld();
        table->setSize(c.tableWidth, c.tableHeight);
        Ref<Psprite> screen = new Psprite(0, 0, c.screenWidth, c.screenHeight, 0);
        table->fitTo(*screen);
        EXPECT_EQ(table->m_scale, c.scale) << c.screenWidth << " " << c.tableWidth;
        EXPECT_EQ(table->m_x, toFixed(c.x));
        EXPECT_EQ(table->m_y, toFixed(c.y)) << c.screenWidth << " " << c.tableWidth;
        EXPECT_EQ(table->m_centreX, toFixed(c.x));
        EXPECT_EQ(table->m_centreY, toFixed(c.y));
    }
}

Array<uint32_t> filledSurface(int32_t count, uint32_t pixel) {
    Array<uint32_t> surface = allocInt<uint32_t>(count);
    for (int32_t i = 0; i < count; ++i) {
        surface[i] = pixel;
    }
    return surface;
}

TEST(TableWorldTest, FitToTheSameSizeKeepsTheImageAndANewSizeDropsIt) {
    Ref<TableWorld> table = new TableWorld();  // no picture and no height: no division by 0
    Ref<Psprite> screen = new Psprite(0, 0, 16, 12, 0);
    table->fitTo(*screen);
    const Array<uint32_t> surface = filledSurface(16 * 12, 0x00ABCDEF);
    table->draw(surface, 16, 12, 0, 0, 16, 12, kFixedOne);
    ASSERT_EQ(table->m_cache.length(), 16 * 12);
    EXPECT_EQ(table->m_cache[100] & 0xFFFFFF, 0xABCDEFu);

    table->setPosition(1, 1);
    table->fitTo(*screen);
    EXPECT_EQ(table->m_x, toFixed(1));
    EXPECT_FALSE(table->m_cache.isEmpty());

    screen->setSize(12, 16);
    table->fitTo(*screen);
    EXPECT_TRUE(table->m_cache.isEmpty());
    const Array<uint32_t> turned = filledSurface(12 * 16, 0x00111111);
    table->draw(turned, 12, 16, 0, 0, 12, 16, kFixedOne);
    EXPECT_EQ(table->m_cache[100] & 0xFFFFFF, 0x111111u);

    const Array<uint32_t> smaller = filledSurface(8 * 4, 0x00222222);  // another size: rebuilt
    table->draw(smaller, 8, 4, 0, 0, 8, 4, kFixedOne);
    EXPECT_EQ(table->m_cache.length(), 8 * 4);
}

// The game's camera with a focal ten times smaller, so that the left edge of the table top
// crosses a 16 x 12 surface when the axis meets it at pixel (14, 2).
void aimAtTheTable(TableWorld& table, int32_t centreX, int32_t centreY) {
    table.setPos(0, 0x300000, -0x600000);
    table.setPitch(0x666);
    table.setFocal(0x2CCA * 10, 480);
    table.setCentre(centreX, centreY);
}

TEST(TableWorldTest, DepthLayerAndCopiesStayInsideTheSurface) {
    for (int32_t centreX : {-40, 40}) {
        Ref<TableWorld> table = new TableWorld();
        aimAtTheTable(*table, centreX, 5);  // table rows 13 down to 0; left edges 50 to 55 off
        const Array<uint32_t> surface = filledSurface(16 * 12, 0x00102030);
        for (int32_t stride : {16, 16, 0}) {  // more rows and a wider clip than the surface has
            table->draw(surface, stride, 40, -5, -5, 50, 50, kFixedOne);
        }
        ASSERT_EQ(table->m_cache.length(), 16 * 12);
        // From the left the whole of row 10 is table top (depth 84); from the right none is.
        EXPECT_EQ(table->m_cache[10 * 16 + 15] >> 24, centreX < 0 ? 84u : 0u);
        EXPECT_EQ(surface[10 * 16 + 15], table->m_cache[10 * 16 + 15]);
    }
}

class TableWorldImageTest : public testing::Test {
protected:
    void SetUp() override {
        m_folder.write("app", test::bankStream({test::literalRecord(2, 2, 0, 'o'),
                                                test::literalRecord(16, 12, 7, 'o')}));
        m_bank = new PictureBank(nullptr, *String::fromLiteral("app"));
        m_table->setPicture(m_bank, 1);
        m_table->setPosition(3, -2);  // the picture's anchor is (3, -2): its box starts at (0, 0)
        aimAtTheTable(*m_table, 14, 2);  // the edge meets rows 10 down to 0 at columns -1 to 3
        m_table->layout(0, 0, kFixedOne);
        m_table->draw(m_surface, 16, 12, 0, 0, 16, 12, kFixedOne);
    }
    test::BankFolder m_folder;
    Ref<PictureBank> m_bank;
    Ref<TableWorld> m_table = new TableWorld();
    Array<uint32_t> m_surface = filledSurface(16 * 12, 0x00102030);
};

TEST_F(TableWorldImageTest, FirstDrawKeepsTheTableWithItsTopDepthAndFreesThePicture) {
    EXPECT_FALSE(m_bank->isLoaded(1));
    ASSERT_EQ(m_table->m_cache.length(), 16 * 12);
    // Per row: the table top's columns and its depth there in whole units, worked out by hand.
    const struct {
        int32_t row, first, end;
        uint32_t depth;
    } rows[] = {{11, 0, 0, 0}, {10, 0, 16, 76}, {6, 1, 15, 86}, {0, 3, 13, 108}};
    for (const auto& r : rows) {
        for (int32_t x = 0; x < 16; ++x) {
            const int32_t i = r.row * 16 + x;
            ASSERT_EQ(m_surface[i] & 0xFFFFFF, test::expand555(test::testColour555(i + 7))) << i;
            const bool onTable = x >= r.first && x < r.end;
            EXPECT_EQ(m_table->m_cache[i], onTable ? (m_surface[i] & 0xFFFFFF) | r.depth << 24 : m_surface[i]) << i;
        }
    }
}

TEST_F(TableWorldImageTest, LaterDrawsCopyOnlyTheClipFromTheKeptImage) {
    const Array<uint32_t> cleared = filledSurface(16 * 12, 0);
    m_table->draw(cleared, 16, 12, 2, 5, 6, 7, kFixedOne);
    EXPECT_FALSE(m_bank->isLoaded(1));  // not drawn again
    for (int32_t i = 0; i < 16 * 12; ++i) {
        const bool inClip = i % 16 >= 2 && i % 16 < 6 && i / 16 >= 5 && i / 16 < 7;
        EXPECT_EQ(cleared[i], inClip ? m_table->m_cache[i] : 0u) << i;
    }
    EXPECT_EQ(cleared[6 * 16 + 2] >> 24, 86u);
}

}  // namespace
}  // namespace vornel
