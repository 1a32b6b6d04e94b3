// Reading a bank's raw records: the run-length decoder given a record's bytes makes the very
// pixels the picture bank makes of it, and a missing or damaged bank is refused in one line.
#include "BankRecords.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "media/BankFiles.h"
#include "media/PictureBank.h"
#include "media/PictureDecoder.h"

namespace vornel::bench {
namespace {

using test::Bytes;

std::string folderOfBank() {
    return ProgramFolder::path();
}

TEST(BankRecords, RunLengthRecordsDecodeToThePicturesOfTheBank) {
    test::BankFolder folder;
    // Large enough that the stream runs on into a second file.
    folder.write("app", test::bankStream({test::literalRecord(4, 3, 0), test::literalRecord(150, 120, 50),
                                          test::literalRecord(2, 5, 9, 'o')}));
    BankRecords records;
    ASSERT_TRUE(records.read(folderOfBank(), "app"));
    ASSERT_EQ(records.records().size(), 3u);
    Ref<PictureBank> bank = new PictureBank(nullptr, *String::fromLiteral("app"));
    for (int32_t i = 0; i < 3; ++i) {
        const BankRecords::Record& record = records.records()[i];
        Ref<Picture> banked = bank->getPicture(i);
        ASSERT_EQ(record.width, banked->m_width);
        ASSERT_EQ(record.height, banked->m_height);
        Ref<Picture> decoded = new Picture();
        decoded->m_width = banked->m_width;
        decoded->m_height = banked->m_height;
        decoded->m_pixels = allocInt<uint32_t>(record.width * record.height);
        ASSERT_TRUE(PictureDecoder::decodeRunLength(*decoded, decoded->m_pixels, record.data, 0, record.data.length()));
        EXPECT_TRUE(std::equal(decoded->m_pixels.data(), decoded->m_pixels.data() + decoded->m_pixels.length(),
                               banked->m_pixels.data()))
            << "picture " << i;
    }
    EXPECT_EQ(records.records()[2].type, 'o');
}

TEST(BankRecords, AMissingBankIsRefusedInOneLine) {
    test::BankFolder folder;
    BankRecords records;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(records.read(folderOfBank(), "app"));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

TEST(BankRecords, ARecordCutShortIsRefused) {
    test::BankFolder folder;
    Bytes stream = test::bankStream({test::literalRecord(4, 3, 0), test::literalRecord(6, 6, 1)});
    stream.resize(stream.size() - 10);
    folder.write("app", stream);
    BankRecords records;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(records.read(folderOfBank(), "app"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("record 1"), std::string::npos);
}

}  // namespace
}  // namespace vornel::bench
