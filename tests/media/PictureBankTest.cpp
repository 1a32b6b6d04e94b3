// The picture bank: the index, reading across files, the cache, eviction, and damaged banks.
#include "media/PictureBank.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "../core/FakeHeap.h"
#include "BankFiles.h"

namespace vornel {
namespace {

using test::Bytes;
using test::literalRecord;

Ref<PictureBank> openBank(const char* name = "app") {
    return new PictureBank(nullptr, *String::fromLiteral(name));
}

// Every pixel of picture index carries the colour its record stored, at alpha code 7.
void expectLiteralPixels(PictureBank& bank, int32_t index, int32_t seed) {
    Ref<Picture> picture = bank.getPicture(index);
    ASSERT_EQ(picture->m_pixels.length(), picture->m_width * picture->m_height);
    for (int32_t i = 0; i < picture->m_pixels.length(); ++i) {
        const uint32_t pixel = picture->m_pixels[i];
        ASSERT_EQ(pixel & kColourMask, test::expand555(test::testColour555(i + seed))) << "pixel " << i;
        ASSERT_EQ(pixel >> kAlphaShift, 7u) << "pixel " << i;
    }
}

class PictureBankTest : public testing::Test {
protected:
    // Four pictures; the third is large enough to carry the stream into a second file.
    void writeFourPictures() {
        const Bytes last = literalRecord(5, 1, 300);
        const Bytes stream = test::bankStream(
            {literalRecord(4, 2, 0), literalRecord(3, 3, 100), literalRecord(150, 120, 200), last});
        m_lastRecordStart = stream.size() - last.size();
        m_folder.write("app", stream);
    }

    std::size_t m_lastRecordStart = 0;  // stream offset of the fourth picture, in the second file

    test::BankFolder m_folder;
};

TEST_F(PictureBankTest, OpeningReadsTheIndexAndLoadsOnlyPictureZero) {
    writeFourPictures();
    Ref<PictureBank> bank = openBank();
    ASSERT_EQ(bank->count(), 4);
    EXPECT_TRUE(bank->isLoaded(0));
    EXPECT_FALSE(bank->isLoaded(1));
    EXPECT_EQ(bank->recordLength(1), static_cast<int32_t>(literalRecord(3, 3, 100).size()));

    Ref<Picture> picture = bank->getPicture(1);
    EXPECT_TRUE(bank->isLoaded(1));
    EXPECT_EQ(picture->m_type, 'r');
    EXPECT_EQ(picture->m_width, 3);
    EXPECT_EQ(picture->m_height, 3);
    EXPECT_EQ(picture->m_anchorX, 3);
    EXPECT_EQ(picture->m_anchorY, -2);
    EXPECT_EQ(picture->m_used, 1);
    expectLiteralPixels(*bank, 1, 100);
}

TEST_F(PictureBankTest, CountsAboveOneHundredAndTwentySevenTakeTwoHeaderBytes) {
    std::vector<Bytes> records;
    for (int32_t i = 0; i < 128; ++i) {
        records.push_back(literalRecord(1, 1, i));
    }
    const Bytes stream = test::bankStream(records);
    ASSERT_EQ(stream[0], 0x81);
    ASSERT_EQ(stream[1], 0x00);
    m_folder.write("app", stream);

    Ref<PictureBank> bank = openBank();
    ASSERT_EQ(bank->count(), 128);
    expectLiteralPixels(*bank, 127, 127);
}

TEST_F(PictureBankTest, ARecordThatCrossesIntoTheNextFileIsReadWhole) {
    writeFourPictures();
    Ref<PictureBank> bank = openBank();
    expectLiteralPixels(*bank, 2, 200);
    expectLiteralPixels(*bank, 3, 300);  // wholly in the second file
}

TEST_F(PictureBankTest, SeekingBackwardsReopensTheEarlierFile) {
    writeFourPictures();
    Ref<PictureBank> bank = openBank();
    expectLiteralPixels(*bank, 3, 300);
    expectLiteralPixels(*bank, 1, 100);
    bank->close();
    expectLiteralPixels(*bank, 2, 200);
}

TEST_F(PictureBankTest, NeighbouringPicturesAreReadOnWithoutReopeningTheFile) {
    writeFourPictures();
    Ref<PictureBank> bank = openBank();
    m_folder.remove("app0.bin");  // the open file stays readable; a reopen would fail
    expectLiteralPixels(*bank, 1, 100);
    expectLiteralPixels(*bank, 2, 200);
}

TEST_F(PictureBankTest, AFetchAnswersTheCachedObjectUntilItIsFreed) {
    writeFourPictures();
    Ref<PictureBank> bank = openBank();
    Ref<Picture> first = bank->getPicture(1);
    EXPECT_EQ(bank->get(1), first);

    bank->free(1);
    EXPECT_FALSE(bank->isLoaded(1));
    Ref<Picture> reloaded = bank->getPicture(1);
    EXPECT_NE(reloaded, first);
    expectLiteralPixels(*bank, 1, 100);

    bank->getPicture(3);
    bank->freeRange(1, 3);
    bank->drop(0);
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_FALSE(bank->isLoaded(i)) << i;
    }
}

TEST_F(PictureBankTest, ReclaimGivesUsedPicturesASecondChance) {
    writeFourPictures();
    Ref<PictureBank> bank = openBank();
    for (int32_t i = 1; i < 4; ++i) {
        bank->getPicture(i);
    }
    EXPECT_EQ(bank->reclaim(1), 1);  // first pass clears the used flags, the second evicts
    EXPECT_FALSE(bank->isLoaded(1));
    EXPECT_TRUE(bank->isLoaded(2));
    EXPECT_TRUE(bank->isLoaded(3));
    EXPECT_EQ(bank->clockHand(), 1);
}

TEST_F(PictureBankTest, ReclaimNeverEvictsPictureZero) {
    writeFourPictures();
    Ref<PictureBank> bank = openBank();
    bank->getPicture(2);
    Ref<Picture> held = bank->getPicture(3);
    EXPECT_EQ(bank->reclaim(1 << 30), 0);  // not enough anywhere
    EXPECT_TRUE(bank->isLoaded(0));
    EXPECT_FALSE(bank->isLoaded(2));
    EXPECT_FALSE(bank->isLoaded(3));
    EXPECT_FALSE(held->hasPixels());  // a holder keeps an emptied picture
}

TEST_F(PictureBankTest, TheEvictionHintMakesAPictureTheFirstToGo) {
    writeFourPictures();
    Ref<PictureBank> bank = openBank();
    bank->getPicture(1);
    bank->getPicture(2);
    bank->getPicture(3);
    bank->hintEviction(2);
    EXPECT_EQ(bank->reclaim(1), 1);
    EXPECT_FALSE(bank->isLoaded(2));
    EXPECT_TRUE(bank->isLoaded(1));
    EXPECT_TRUE(bank->isLoaded(3));
    EXPECT_EQ(bank->clockHand(), 2);
}

TEST_F(PictureBankTest, AnEmptyBankHasNothingToReclaimAndStopsPreloading) {
    m_folder.write("app", test::bankStream({}));
    m_folder.write("big", test::bankStream({literalRecord(1, 1, 0), literalRecord(2, 2, 0), literalRecord(2, 2, 0)}));
    Ref<PictureBank> empty = openBank();
    EXPECT_EQ(empty->count(), 0);
    EXPECT_EQ(empty->reclaim(1), 0);

    Ref<PictureBank> bank = openBank("big");
    bank->preload(0, 1);
    EXPECT_TRUE(bank->isLoaded(1));
    bank->reclaim(1);
    bank->preload(2, 2);  // memory ran short once: no more preloading this run
    EXPECT_FALSE(bank->isLoaded(2));
}

TEST_F(PictureBankTest, TheAllocatorAsksTheBankForMemoryWhenTheHeapRunsOut) {
    writeFourPictures();
    Ref<PictureBank> bank = openBank();
    bank->becomeReclaimTarget();
    bank->getPicture(2);
    bank->hintEviction(2);
    {
        test::FakeHeap heap;
        heap.refusals = 1;
        void* block = Allocator::allocate(1000);
        EXPECT_NE(block, nullptr);
        Allocator::release(block);
    }
    EXPECT_FALSE(bank->isLoaded(2));

    bank = nullptr;
    EXPECT_EQ(Allocator::reclaimTarget(), nullptr);  // a bank that goes unregisters itself
}

TEST_F(PictureBankTest, APictureTheHeapHadNoRoomForIsLoadedAgainOnItsNextUse) {
    writeFourPictures();
    Ref<PictureBank> bank = openBank();
    Ref<Picture> starved;
    testing::internal::CaptureStderr();
    {
        test::FakeHeap heap;
        heap.refuseFromAttempt = 2;  // the picture object is served, its pixel array is not
        // (picture 1 follows picture 0 in the open file: no file is opened on the way)
        starved = bank->getPicture(1);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Pictlib: no memory for picture 1 of app; it is loaded again when next needed\n");
    EXPECT_FALSE(starved->hasPixels());
    EXPECT_EQ(starved->m_width, 3);  // a sprite can still be placed by its size
    EXPECT_FALSE(bank->isLoaded(1));
    expectLiteralPixels(*bank, 1, 100);
    EXPECT_TRUE(bank->isLoaded(1));
}

TEST_F(PictureBankTest, DrawingGoesThroughThePicturesBlit) {
    m_folder.write("app", test::bankStream({literalRecord(2, 2, 7, 'o')}));
    Ref<PictureBank> bank = openBank();
    Array<uint32_t> surface = allocInt<uint32_t>(4 * 4);
    bank->draw(0, surface, 4, 4, 1, 1, 3, 3, 1 << 15, 1 << 15, 0x8000, 5, 0x8000);
    EXPECT_EQ(surface[1 * 4 + 1] & kColourMask, test::expand555(test::testColour555(7)));
    EXPECT_EQ(surface[2 * 4 + 2] & kColourMask, test::expand555(test::testColour555(10)));
    EXPECT_EQ(surface[0], 0u);
}

// ---- Damaged banks ----

class DamagedBankTest : public PictureBankTest {
protected:
    std::string stderrOf(const std::function<void()>& action) {
        testing::internal::CaptureStderr();
        action();
        return testing::internal::GetCapturedStderr();
    }
};

TEST_F(DamagedBankTest, AMissingBankIsEmptyAndSaysWhichFile) {
    Ref<PictureBank> bank;
    EXPECT_EQ(stderrOf([&] { bank = openBank(); }), "Pictlib: file not found: app0.bin\n");
    EXPECT_EQ(bank->count(), 0);
    std::string later = stderrOf([&] { EXPECT_FALSE(bank->getPicture(3)->hasPixels()); });
    EXPECT_EQ(later, "");  // the one line already said what is wrong
}

TEST_F(DamagedBankTest, AMalformedHeaderLeavesAnEmptyBank) {
    m_folder.writeFile("app0.bin", {0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x10});
    Ref<PictureBank> bank;
    EXPECT_EQ(stderrOf([&] { bank = openBank(); }), "Pictlib: malformed header in app0.bin\n");
    EXPECT_EQ(bank->count(), 0);

    m_folder.writeFile("cut0.bin", {0x05, 0x90});  // the header ends half-way
    EXPECT_EQ(openBank("cut")->count(), 0);
}

TEST_F(DamagedBankTest, ABadIndexAnswersAnEmptyPicture) {
    writeFourPictures();
    Ref<PictureBank> bank = openBank();
    EXPECT_EQ(stderrOf([&] { EXPECT_FALSE(bank->getPicture(4)->hasPixels()); }),
              "Pictlib getPicture bad index 4\n");
    EXPECT_EQ(stderrOf([&] { bank->getPicture(-1); }), "Pictlib getPicture bad index -1\n");
    bank->free(9);
    bank->hintEviction(-3);
    EXPECT_EQ(bank->clockHand(), 0);
}

TEST_F(DamagedBankTest, ARecordThatRunsPastTheEndStaysEmpty) {
    writeFourPictures();
    m_folder.truncate("app1.bin", m_lastRecordStart - PictureBank::kFileSize + 10);
    Ref<PictureBank> bank = openBank();
    std::string message = stderrOf([&] { EXPECT_FALSE(bank->getPicture(3)->hasPixels()); });
    EXPECT_EQ(message, "Pictlib: picture 3 of app (in app1.bin) is damaged: it runs past the end of the bank\n");
    EXPECT_EQ(stderrOf([&] { bank->getPicture(3); }), "");  // reported once, not reloaded
    expectLiteralPixels(*bank, 1, 100);
}

TEST_F(DamagedBankTest, AMissingMiddleFileFailsOnlyThePicturesInIt) {
    writeFourPictures();
    m_folder.remove("app1.bin");
    Ref<PictureBank> bank = openBank();
    std::string message = stderrOf([&] { EXPECT_FALSE(bank->getPicture(2)->hasPixels()); });
    EXPECT_NE(message.find("file not found: app1.bin"), std::string::npos) << message;
    EXPECT_NE(message.find("picture 2 of app (in app0.bin) is damaged"), std::string::npos) << message;
    expectLiteralPixels(*bank, 1, 100);
}

TEST_F(DamagedBankTest, RecordsThatDoNotFitTheScratchOrHaveNoKnownTypeStayEmpty) {
    Bytes unknown = literalRecord(2, 2, 0);
    unknown[0] = 'x';
    m_folder.write("app", test::bankStream({literalRecord(2, 2, 0), unknown, literalRecord(2, 2, 0)}, 630));
    Ref<PictureBank> bank = openBank();
    EXPECT_NE(stderrOf([&] { bank->getPicture(1); }).find("unknown record type"), std::string::npos);
    EXPECT_NE(stderrOf([&] { bank->getPicture(2); }).find("scratch size"), std::string::npos);
    expectLiteralPixels(*bank, 0, 0);
}

TEST_F(DamagedBankTest, RandomDamageNeverCrashes) {
    Bytes good = test::bankStream({literalRecord(4, 2, 0), literalRecord(3, 3, 100), literalRecord(60, 40, 7)});
    std::mt19937 random(1234);
    testing::internal::CaptureStderr();
    for (int round = 0; round < 300; ++round) {
        Bytes damaged = good;
        const int flips = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < flips; ++i) {
            damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
        }
        if (round % 3 == 0) {
            damaged.resize(random() % damaged.size());
        }
        m_folder.write("app", damaged);
        Ref<PictureBank> bank = openBank();
        for (int32_t i = -1; i <= bank->count(); ++i) {
            Ref<Picture> picture = bank->getPicture(i);
            ASSERT_TRUE(picture->m_pixels.isEmpty() ||
                        picture->m_pixels.length() == picture->m_width * picture->m_height);
        }
        bank->reclaim(1 << 20);
    }
    testing::internal::GetCapturedStderr();
}

}  // namespace
}  // namespace vornel
