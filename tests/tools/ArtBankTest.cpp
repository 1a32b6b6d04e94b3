// The picture bank the build draws, read back through the game's own bank reader.
#include <gtest/gtest.h>

#include <vector>

#include "art/ArtBank.h"
#include "art/NetPicture.h"
#include "core/Base.h"
#include "core/ProgramFolder.h"
#include "core/RunContext.h"
#include "media/PictureBank.h"

namespace vornel {
namespace {

class BankOwner : public Base {};

class ArtBankTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_intended = new std::vector<ArtPicture>(ArtBank::drawAll()); }
    static void TearDownTestSuite() {
        delete s_intended;
        s_intended = nullptr;
    }
    void SetUp() override {
        m_bank = new PictureBank(new BankOwner(), *String::fromLiteral(ArtBank::kBankName));
    }
    const RunContext m_artFolder{VORNEL_ART_BANK_FOLDER};  // the bank reads its files from here

    static const ArtPicture& intended(int32_t number) { return (*s_intended)[static_cast<std::size_t>(number)]; }

    static std::vector<ArtPicture>* s_intended;
    Ref<PictureBank> m_bank;
};

std::vector<ArtPicture>* ArtBankTest::s_intended = nullptr;

// Alpha code (0 clear .. 7 opaque) of a decoded picture's pixel.
int32_t alphaCode(const Picture& picture, int32_t x, int32_t y) {
    return static_cast<int32_t>(picture.m_pixels[y * picture.m_width + x] >> kAlphaShift);
}

TEST_F(ArtBankTest, TheBuiltBankHoldsEveryPictureTheGameUses) {
    ASSERT_EQ(m_bank->count(), ArtBank::kPictureCount);
    ASSERT_EQ(s_intended->size(), static_cast<std::size_t>(ArtBank::kPictureCount));
}

TEST_F(ArtBankTest, EveryPictureReadsBackWithTheIntendedTypeSizeAndAnchor) {
    ASSERT_EQ(m_bank->count(), ArtBank::kPictureCount);
    for (int32_t number = 0; number < ArtBank::kPictureCount; ++number) {
        const ArtPicture& want = intended(number);
        const Ref<Picture> got = m_bank->getPicture(number);
        ASSERT_TRUE(got->hasPixels()) << "picture " << number;
        EXPECT_EQ(got->m_type, want.type == 'j' ? 'j' : 'r') << "picture " << number;
        EXPECT_EQ(got->m_width, want.image.width()) << "picture " << number;
        EXPECT_EQ(got->m_height, want.image.height()) << "picture " << number;
        EXPECT_EQ(got->m_anchorX, want.anchorX) << "picture " << number;
        EXPECT_EQ(got->m_anchorY, want.anchorY) << "picture " << number;
        // The decoders' run counts are true, so unscaled blits need not skip runs.
        EXPECT_EQ(got->m_trueRuns, 1) << "picture " << number;
    }
}

TEST_F(ArtBankTest, TheLoadingPictureIsAJpegWithRoundedCorners) {
    const Ref<Picture> loading = m_bank->getPicture(ArtBank::kLoading);
    EXPECT_EQ(loading->m_type, 'j');
    EXPECT_EQ(alphaCode(*loading, 0, 0), 0);
    EXPECT_EQ(alphaCode(*loading, loading->m_width / 2, loading->m_height / 2), 7);
}

// The table view copies an unscaled opaque picture row by row, and nothing shows behind it.
TEST_F(ArtBankTest, TheTablePictureIsAnOpaqueJpeg) {
    const Ref<Picture> table = m_bank->getPicture(ArtBank::kTable);
    EXPECT_EQ(table->m_type, 'j');
    EXPECT_EQ(table->m_opaque, 1);
}

TEST_F(ArtBankTest, AllFiveBatsShareOneSizeSoOneScaleFitsThemAll) {
    const Ref<Picture> straight = m_bank->getPicture(ArtBank::kFirstBat + 2);
    for (int32_t number = ArtBank::kFirstBat; number < ArtBank::kFirstBat + 5; ++number) {
        const Ref<Picture> bat = m_bank->getPicture(number);
        EXPECT_EQ(bat->m_width, straight->m_width) << "picture " << number;
        EXPECT_EQ(bat->m_height, straight->m_height) << "picture " << number;
        EXPECT_EQ(alphaCode(*bat, bat->m_anchorX, bat->m_anchorY), 7) << "the blade's centre, picture " << number;
    }
}

// The net must let the table show through its cells but not through its tape and posts.
TEST_F(ArtBankTest, TheNetIsSeeThroughBetweenItsOpaqueTapeAndPosts) {
    const Ref<Picture> net = m_bank->getPicture(ArtBank::kNet);
    const int32_t middle = NetPicture::kWidth / 2 + 1;
    EXPECT_EQ(alphaCode(*net, middle, 0), 7);
    const int32_t cellRow = NetPicture::kTapeRows + 1;
    const int32_t code = alphaCode(*net, middle, cellRow);
    EXPECT_GT(code, 0);
    EXPECT_LT(code, 3);
    EXPECT_EQ(alphaCode(*net, 2, NetPicture::kNetRows / 2), 7);
    EXPECT_EQ(alphaCode(*net, NetPicture::kWidth - 3, NetPicture::kNetRows / 2), 7);
}

TEST_F(ArtBankTest, TheShadowIsTranslucentEvenAtItsDarkest) {
    const Ref<Picture> shadow = m_bank->getPicture(ArtBank::kShadow);
    const int32_t code = alphaCode(*shadow, shadow->m_anchorX, shadow->m_anchorY);
    EXPECT_GT(code, 2);
    EXPECT_LT(code, 7);
    EXPECT_EQ(alphaCode(*shadow, 0, 0), 0);
}

}  // namespace
}  // namespace vornel
