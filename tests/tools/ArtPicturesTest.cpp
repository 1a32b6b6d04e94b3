// The pictures as the game uses them: the net at the Pocket PC's scale, the bats' symmetry,
// the title's lettering, the interface pictures where the game places them.
#include <gtest/gtest.h>

#include <cmath>

#include "art/ArtBank.h"
#include "art/BallPicture.h"
#include "art/BatPicture.h"
#include "art/InterfacePictures.h"
#include "art/NetPicture.h"
#include "art/TitleLettering.h"
#include "bank/ColourLevels.h"
#include "core/Base.h"
#include "core/ProgramFolder.h"
#include "core/RunContext.h"
#include "media/PictureBank.h"

namespace vornel {
namespace {

class BankOwner : public Base {};

int32_t alphaCode(const RgbaImage& image, int32_t x, int32_t y) {
    return ColourLevels::alphaCode(RgbaImage::alpha(image.pixel(x, y)));
}

// The net drawn by the game's blit at three quarters of natural size, as the Pocket PC's table
// view draws it: along a row of cells, every third column must still be a strand.
TEST(ArtPicturesTest, TheNetKeepsEveryStrandAtThePocketPcsScale) {
    const RunContext artFolder(VORNEL_ART_BANK_FOLDER);
    Ref<PictureBank> bank = new PictureBank(new BankOwner(), *String::fromLiteral(ArtBank::kBankName));
    ASSERT_EQ(bank->count(), ArtBank::kPictureCount);
    const Ref<Picture> net = bank->getPicture(ArtBank::kNet);
    ASSERT_TRUE(net->hasPixels());
    constexpr int32_t kWidth = 180;
    constexpr int32_t kRows = 24;
    Array<uint32_t> surface = allocInt<uint32_t>(kWidth * kRows);
    for (int32_t i = 0; i < surface.length(); ++i) {
        surface[i] = 0xFFFFFF;
    }
    const Fixed threeQuarters = 0x6000;
    net->blit(surface, kWidth, kRows, 0, 0, kWidth, kRows, 0, 0, 0x40000000 / threeQuarters, 0, kFixedOne);
    const int32_t cellRow = 4;  // picture row 5, between the strands of rows 2 and 6
    std::string pattern;
    for (int32_t x = 6; x < 160; ++x) {
        pattern += (surface[cellRow * kWidth + x] & 0xFF) < 0x90 ? '#' : '.';
    }
    ASSERT_LT(pattern.find('#'), 3u) << pattern;
    for (std::size_t i = pattern.find('#'); i + 3 < pattern.size(); i += 3) {
        EXPECT_EQ(pattern.substr(i, 3), "#..") << pattern;
    }
}

// A bat turned to the left is the mirror image of the one turned to the right, so both sides
// of the table look alike.
TEST(ArtPicturesTest, BatsTurnedLeftAndRightAreMirrorImages) {
    for (int32_t angle = 0; angle < 2; ++angle) {
        const RgbaImage left = BatPicture::make(angle).image;
        const RgbaImage right = BatPicture::make(BatPicture::kAngles - 1 - angle).image;
        int32_t differences = 0;
        for (int32_t y = 0; y < left.height(); ++y) {
            for (int32_t x = 0; x < left.width(); ++x) {
                differences += std::abs(alphaCode(left, x, y) - alphaCode(right, left.width() - 1 - x, y)) > 1;
            }
        }
        EXPECT_EQ(differences, 0) << "angle " << angle;
        EXPECT_NE(left.pixels(), right.pixels());
    }
}

// The lettering is measured across the height of the r's shoulder: with the outline each
// letter gets, the V's two arms, r, n, the e and the l must stand apart (the ball is not a
// stroke). Letters that touch there read as other letters ("rn" as "m").
TEST(ArtPicturesTest, TheTitlesLettersStandApart) {
    const double xHeight = 25;
    const TitleLettering title(0, 100, xHeight);
    const double ink = title.strokeHalfWidth() + 1.7;
    const double y = 100 - 0.85 * xHeight;
    int32_t runs = 0;
    bool inside = false;
    for (double x = -10; x < TitleLettering::widthFor(xHeight) + 10; x += 0.1) {
        const bool now = title.strokeDistance(x, y) < ink;
        runs += now && !inside;
        inside = now;
    }
    EXPECT_EQ(runs, 6);
}

// The help screen hangs the close and up markers from y 6 and 64 and stands the down marker
// on the screen's bottom less 10 pixels; on the Smartphone's 220 rows none may overlap another
// or leave the screen.
TEST(ArtPicturesTest, TheHelpMarkersFitWhereTheHelpScreenPutsThem) {
    const ArtPicture close = InterfacePictures::closeMarker();
    const ArtPicture up = InterfacePictures::upMarker();
    const ArtPicture down = InterfacePictures::downMarker();
    const int32_t closeBottom = 6 - close.anchorY + close.image.height();
    const int32_t upTop = 64 - up.anchorY;
    const int32_t upBottom = upTop + up.image.height();
    const int32_t downTop = 220 - 10 - down.anchorY;
    EXPECT_GE(6 - close.anchorY, 0);
    EXPECT_LE(closeBottom, upTop);
    EXPECT_LE(upBottom, downTop);
    EXPECT_LE(downTop + down.image.height(), 220);
}

// The score sits in rows 4 to 18 of each top corner; its marker goes below it, on screen.
TEST(ArtPicturesTest, TheScoreMarkersSitBelowTheScoresOnScreen) {
    const ArtPicture marker = BallPicture::scoreMarker();
    const int32_t top = 6 - marker.anchorY;
    EXPECT_GE(top, 19);
    EXPECT_GE(6 - marker.anchorX, 0);
    EXPECT_LE(240 - 6 - marker.anchorX + marker.image.width(), 240);
}

// The menu shows the scene through its buttons, and their corners are round.
TEST(ArtPicturesTest, TheMenuButtonIsRoundedAndSeeThrough) {
    const RgbaImage button = InterfacePictures::menuButton().image;
    EXPECT_EQ(alphaCode(button, 0, 0), 0);
    EXPECT_EQ(alphaCode(button, button.width() - 1, button.height() - 1), 0);
    const int32_t middle = alphaCode(button, button.width() / 2, button.height() / 2);
    EXPECT_GT(middle, 3);
    EXPECT_LT(middle, 7);
}

}  // namespace
}  // namespace vornel
