// The table picture against the game's own projection: the projected table, ball and net land
// on what is drawn, and the table view fits every device's screen with it.
#include <gtest/gtest.h>

#include "art/ArtBank.h"
#include "art/NetPicture.h"
#include "art/TablePicture.h"
#include "core/Base.h"
#include "core/ProgramFolder.h"
#include "core/RunContext.h"
#include "media/PictureBank.h"
#include "sprites/Screen.h"
#include "sprites/TableWorld.h"

namespace vornel {
namespace {

class BankOwner : public Base {};

// World positions of the game, Fixed.
constexpr Fixed kHalfWidth = 1077411;
constexpr Fixed kHalfLength = 1762000;
constexpr Fixed kTableTop = 822607;
constexpr Fixed kNetTop = 1073177;

struct Device {
    int32_t width;
    int32_t height;
};
constexpr Device kDevices[] = {{240, 320}, {176, 220}, {320, 240}};

// The game's camera, with its axis at the table picture's anchor, at scale 1.0.
Ref<World> pictureCamera() {
    Ref<World> camera = new World();
    camera->setFocal(0x2CCA, 480);
    camera->setPitch(0x666);
    camera->setPos(0, 0x300000, -0x600000);
    camera->setCentre(TablePicture::kAnchorX, TablePicture::kAnchorY);
    return camera;
}

// Where the camera puts a point, in whole picture pixels.
struct Pixel {
    int32_t x, y;
};
Pixel projected(World& camera, Fixed x, Fixed y, Fixed z) {
    Ref<Psprite> probe = new Psprite();
    probe->setPos(x, y, z);
    camera.project(*probe);
    return {probe->m_x >> kFixedShift, probe->m_y >> kFixedShift};
}

bool isWhite(uint32_t pixel) {
    return ((pixel >> 16) & 0xFF) > 170 && ((pixel >> 8) & 0xFF) > 170 && (pixel & 0xFF) > 170;
}

class ArtTableTest : public testing::Test {
protected:
    void SetUp() override {
        m_bank = new PictureBank(new BankOwner(), *String::fromLiteral(ArtBank::kBankName));
        ASSERT_EQ(m_bank->count(), ArtBank::kPictureCount);
        m_table = m_bank->getPicture(ArtBank::kTable);
    }
    const RunContext m_artFolder{VORNEL_ART_BANK_FOLDER};  // the bank reads its files from here

    uint32_t tablePixel(Pixel p) const { return m_table->m_pixels[p.y * m_table->m_width + p.x]; }

    // The table view over a screen of the device's size, as the game sets it up.
    Ref<TableWorld> tableView(Screen& screen) {
        Ref<TableWorld> view = new TableWorld();
        view->setPicture(m_bank, ArtBank::kTable);
        view->fitTo(screen);
        view->setFocal(0x2CCA, 480);
        view->setPitch(0x666);
        view->setPos(0, 0x300000, -0x600000);
        screen.add(view);
        return view;
    }

    Ref<PictureBank> m_bank;
    Ref<Picture> m_table;
    Ref<World> m_camera = pictureCamera();
};

TEST_F(ArtTableTest, TheTableTopsCornersProjectInsideThePicture) {
    for (Fixed x : {-kHalfWidth, kHalfWidth}) {
        for (Fixed z : {-kHalfLength, kHalfLength}) {
            const Pixel corner = projected(*m_camera, x, kTableTop, z);
            EXPECT_GE(corner.x, 0);
            EXPECT_LT(corner.x, TablePicture::kWidth);
            EXPECT_GE(corner.y, 0);
            EXPECT_LT(corner.y, TablePicture::kHeight);
        }
    }
}

// The white lines meet at the corners: just inside a projected corner the picture is white,
// just outside it is not.
TEST_F(ArtTableTest, ABallAtTheNearCornerSitsOnTheDrawnLines) {
    const Pixel corner = projected(*m_camera, -kHalfWidth, kTableTop, -kHalfLength);
    EXPECT_TRUE(isWhite(tablePixel({corner.x + 1, corner.y - 1})));
    EXPECT_FALSE(isWhite(tablePixel({corner.x - 3, corner.y + 3})));
}

TEST_F(ArtTableTest, TheFarCornerIsWhereTheDrawnTableEnds) {
    const Pixel corner = projected(*m_camera, kHalfWidth, kTableTop, kHalfLength);
    EXPECT_TRUE(isWhite(tablePixel({corner.x - 1, corner.y + 1})));
    EXPECT_FALSE(isWhite(tablePixel({corner.x + 2, corner.y - 3})));
}

// At the unscaled view the net is drawn at natural size, and its rows above the anchor span
// the net's projected height.
TEST_F(ArtTableTest, TheNetPictureMatchesTheProjectedNet) {
    Ref<Psprite> net = new Psprite();
    net->setSize(NetPicture::kWidth, NetPicture::kHeight);
    net->setScale(0x20E146 / (NetPicture::kWidth - 10));
    net->setPos(0, kTableTop, 0);
    m_camera->project(*net);
    EXPECT_EQ(net->m_invScale, kFixedOne);

    const Pixel foot = projected(*m_camera, 0, kTableTop, 0);
    const Pixel top = projected(*m_camera, 0, kNetTop, 0);
    EXPECT_NEAR(foot.y - top.y, NetPicture::kNetRows, 1);
    const Pixel post = projected(*m_camera, kHalfWidth, kTableTop, 0);
    EXPECT_NEAR(post.x - foot.x, NetPicture::kMeshWidth / 2, 1);
}

TEST_F(ArtTableTest, TheTableViewCoversEveryScreenWithTheNearEndOnIt) {
    for (const Device& device : kDevices) {
        Ref<Screen> screen = new Screen();
        screen->setSize(device.width, device.height);
        Ref<TableWorld> view = tableView(*screen);
        screen->layout(0, 0, kFixedOne);
        SCOPED_TRACE(testing::Message() << device.width << " x " << device.height);
        EXPECT_LE(view->m_left, 0);
        EXPECT_LE(view->m_top, 0);
        EXPECT_GE(view->m_right, device.width);
        EXPECT_GE(view->m_bottom, device.height);
        const Pixel nearEnd = projected(*view, -kHalfWidth, kTableTop, -kHalfLength);
        EXPECT_GE(nearEnd.x, 0);
        EXPECT_LT(nearEnd.y, device.height);
        // The intro rises from where the picture's top touches the screen's top.
        EXPECT_GT((view->scale() * view->m_anchorY) >> kFixedShift, view->y() >> kFixedShift);
        screen->clear();
    }
}

// The table's depth layer hides a ball that dropped behind the far end, and not one in the air
// above the far half of the table.
TEST_F(ArtTableTest, TheTableHidesABallBehindItsFarEnd) {
    const auto ballPixel = [&](Fixed x, Fixed y, Fixed z, bool withBall) {
        Ref<Screen> screen = new Screen();
        screen->setSize(240, 320);
        Ref<TableWorld> view = tableView(*screen);
        Ref<Psprite> ball = new Psprite();
        ball->setPicture(m_bank, ArtBank::kBall);
        ball->setScale(0x19326 / ball->width());
        ball->setPos(x, y, z);
        if (withBall) {
            view->add(ball);
        }
        screen->render();  // the first repaint builds the depth layer
        screen->invalidate(0, 0, 240, 320);
        screen->render();
        view->project(*ball);
        const uint32_t pixel = screen->m_buffer[(ball->m_y >> kFixedShift) * 240 + (ball->m_x >> kFixedShift)];
        screen->clear();
        return pixel & 0xFFFFFF;
    };
    const Fixed behindX = 12 << kFixedShift;
    const Fixed lowY = 18 << kFixedShift;
    const Fixed beyondZ = 58 << kFixedShift;
    EXPECT_EQ(ballPixel(behindX, lowY, beyondZ, true), ballPixel(behindX, lowY, beyondZ, false));
    const Fixed highY = 40 << kFixedShift;
    const Fixed farHalfZ = 40 << kFixedShift;
    EXPECT_NE(ballPixel(behindX, highY, farHalfZ, true), ballPixel(behindX, highY, farHalfZ, false));
}

}  // namespace
}  // namespace vornel
