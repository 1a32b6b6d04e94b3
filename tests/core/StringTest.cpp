// Strings, the intern list and the text builder.
#include "core/String.h"
#include "core/StringBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace vornel {
namespace {

std::string textOf(const Ref<String>& s) {
    return s->text();
}

TEST(String, InterningTheSameLiteralTwiceGivesTheSameObject) {
    EXPECT_EQ(String::fromLiteral("help.txt"), String::fromLiteral("help.txt"));
}

TEST(String, EqualTextAtAnotherAddressGivesTheFirstEntry) {
    static const char first[] = "intern-twin";
    static const char second[] = "intern-twin";
    ASSERT_NE(static_cast<const void*>(first), static_cast<const void*>(second));
    String* entry = String::fromLiteral(first);
    EXPECT_EQ(String::fromLiteral(second), entry);
    EXPECT_EQ(entry->text(), first);  // the literal itself, not a copy
}

TEST(String, ALiteralOutlivesEveryUserHandle) {
    String* literal = String::fromLiteral("outlives-handles");
    {
        Ref<String> a = literal;
        Ref<String> b = literal;
    }
    EXPECT_GE(literal->referenceCount(), 1);
    EXPECT_STREQ(literal->text(), "outlives-handles");
}

TEST(String, InternAnswersTheListedEntryOrKeepsTheNewString) {
    String* listed = String::fromLiteral("bounce");
    Ref<String> copy = new String("bounce", 0, 6);
    EXPECT_EQ(String::intern(copy.get()), listed);

    Ref<String> fresh = new String("a fresh text", 2, 5);
    EXPECT_EQ(String::intern(fresh.get()), fresh.get());
    EXPECT_EQ(String::fromLiteral("fresh"), fresh.get());
    EXPECT_EQ(fresh->referenceCount(), 2);  // ours and the list's
}

TEST(String, ThreadsInterningTogetherAgreeOnOneObject) {
    std::vector<String*> seen(8);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&seen, t] {
            for (int i = 0; i < 200; ++i) {
                seen[t] = String::fromLiteral("raced-literal");
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (String* s : seen) {
        EXPECT_EQ(s, seen[0]);
    }
}

TEST(String, ConstructionCopiesAndSubstringKeepsItsEnds) {
    Ref<String> s = new String("xxGame over", 2, 9);
    EXPECT_EQ(textOf(s), "Game over");
    EXPECT_EQ(s->length(), 9);
    EXPECT_EQ(textOf(s->substring(0)), "Game over");
    EXPECT_NE(s->substring(0).get(), s.get());
    EXPECT_EQ(textOf(s->substring(5)), "over");
    EXPECT_EQ(textOf(s->substring(9)), "");
    EXPECT_EQ(textOf(s->substring(40)), "");
    EXPECT_EQ(textOf(s->substring(-3)), "Game over");
}

TEST(String, NumbersToText) {
    EXPECT_EQ(textOf(String::fromNumber(0)), "0");
    EXPECT_EQ(textOf(String::fromNumber(-1)), "-1");
    EXPECT_EQ(textOf(String::fromNumber(INT32_MIN)), "-2147483648");
    EXPECT_EQ(textOf(String::fromNumber(INT32_MAX)), "2147483647");
}

TEST(String, TextToNumbersReadsLikeAtoiAndSaturates) {
    auto number = [](const char* text) { return Ref<String>(new String(text, 0, static_cast<int32_t>(strlen(text))))->toNumber(); };
    EXPECT_EQ(number("  42abc"), 42);
    EXPECT_EQ(number("-17"), -17);
    EXPECT_EQ(number("+5"), 5);
    EXPECT_EQ(number("abc"), 0);
    EXPECT_EQ(number(""), 0);
    EXPECT_EQ(number("- 3"), 0);
    EXPECT_EQ(number("99999999999"), INT32_MAX);
    EXPECT_EQ(number("-99999999999"), INT32_MIN);
    EXPECT_EQ(number("-2147483648"), INT32_MIN);
}

TEST(StringBuffer, TenCharactersFitAndTheEleventhGrowsToTwentyOne) {
    Ref<StringBuffer> buffer = new StringBuffer();
    EXPECT_EQ(buffer->capacity(), 10);
    for (char c = 'a'; c < 'a' + 10; ++c) {
        buffer->append(c);
    }
    EXPECT_EQ(buffer->capacity(), 10);
    buffer->append('k');
    EXPECT_EQ(buffer->capacity(), 21);
    EXPECT_STREQ(buffer->text(), "abcdefghijk");
}

TEST(StringBuffer, AppendingAStringGrowsOnceWithRoomToSpare) {
    Ref<StringBuffer> buffer = new StringBuffer();
    buffer->append(*String::fromLiteral("/app"));
    buffer->append(*String::fromLiteral("lication"));
    EXPECT_EQ(buffer->capacity(), 22);  // 4 + 8 + 10
    buffer->appendNumber(12);
    buffer->append(*String::fromLiteral(".bin"));
    EXPECT_STREQ(buffer->text(), "/application12.bin");
    EXPECT_EQ(buffer->length(), 18);
}

TEST(StringBuffer, RestartingKeepsTheBlockAndCopiesAreIndependent) {
    Ref<StringBuffer> buffer = new StringBuffer();
    buffer->append(*String::fromLiteral("app0.bin, app1.bin"));
    const int32_t capacity = buffer->capacity();
    Ref<String> before = buffer->toString();

    buffer->setLength(0);
    buffer->append('x');

    EXPECT_EQ(buffer->capacity(), capacity);
    EXPECT_STREQ(buffer->text(), "x");
    EXPECT_EQ(textOf(before), "app0.bin, app1.bin");
}

}  // namespace
}  // namespace vornel
