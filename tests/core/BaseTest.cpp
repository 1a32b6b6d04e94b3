// The operations every application object has: number text, logical shifts, console traces.
#include "core/Base.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/Console.h"

namespace vornel {
namespace {

class Plain : public Base {};

std::string captured(const std::function<void()>& print) {
    testing::internal::CaptureStdout();
    print();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

TEST(Base, ToStringShowsTheIntegerPartRoundedDown) {
    Ref<Plain> object = new Plain();
    EXPECT_STREQ(object->toString(-0x8000)->text(), "-1");
    EXPECT_STREQ(object->toString(0x7FFF)->text(), "0");
    EXPECT_STREQ(object->toString(-1)->text(), "-1");
    EXPECT_STREQ(object->toString(11 * 0x8000 + 0x4000)->text(), "11");
}

TEST(Base, UnsignedShiftFillsWithZerosAndCountsOnlyTheLowEightBits) {
    Ref<Plain> object = new Plain();
    EXPECT_EQ(object->ushr(INT32_MIN, 31), 1);
    EXPECT_EQ(object->ushr(-1, 28), 0xF);
    EXPECT_EQ(object->ushr(-1, 32), 0);
    EXPECT_EQ(object->ushr(0x1234, 40), 0);
    EXPECT_EQ(object->ushr(0x1234, 256 + 4), 0x123);
    EXPECT_EQ(object->ushr(0x1234, 0), 0x1234);
}

TEST(Base, ArcTangentIsTheFixedPointOne) {
    Ref<Plain> object = new Plain();
    EXPECT_EQ(object->fatan2(0x8000, 0), 0x2000);
}

TEST(Base, TracesWriteTextAndNumbersSeparatedByBlanks) {
    Ref<Plain> object = new Plain();
    const String& text = *String::fromLiteral("serve");
    EXPECT_EQ(captured([&] { object->trace(text, 3, -4); }), "serve 3 -4\n");
    EXPECT_EQ(captured([&] { object->trace(text, 11); }), "serve 11\n");
    EXPECT_EQ(captured([&] { object->trace(text); }), "serve\n");
}

TEST(Console, PrintsTextAndNumbers) {
    const String& text = *String::fromLiteral("jpegDecode width height mismatch");
    EXPECT_EQ(captured([&] {
                  Console::print(text);
                  Console::print(7);
                  Console::printLine(-7);
                  Console::printLine(text);
              }),
              "jpegDecode width height mismatch7-7\njpegDecode width height mismatch\n");
}

}  // namespace
}  // namespace vornel
