// The key table: keypad and arrow keys, soft keys, and the QWERTY device's letters.
#include "shell/KeyMap.h"

#include <gtest/gtest.h>

#include <string>

namespace vornel {
namespace {

TEST(ShellKeyMap, HandheldKeysBecomeGameKeys) {
    const std::pair<uint32_t, int32_t> table[] = {
        {37, 1}, {39, 2}, {38, 3}, {40, 4}, {13, 5}, {112, 5}, {113, 6}, {8, 7}, {27, 7},
        {32, ' '}, {119, '*'}, {120, '#'}, {'0', '0'}, {'8', '8'}, {'9', 0}, {'E', 0}, {114, 0}, {0x86, 0},
    };
    for (const auto& [virtualKey, code] : table) {
        EXPECT_EQ(KeyMap::mapVirtualKey(virtualKey, false), code) << virtualKey;
    }
}

TEST(ShellKeyMap, QwertyLettersAreAPhoneKeypadOnlyOnAQwertyDevice) {
    // W E R / S D F / Z X C / '/' as 1..9 and 0, A as '*' and G as '#'.
    const std::string letters = "WERSDFZXC";
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const auto key = static_cast<uint32_t>(letters[i]);
        EXPECT_EQ(KeyMap::mapVirtualKey(key, true), static_cast<int32_t>('1' + i)) << letters[i];
        EXPECT_EQ(KeyMap::mapVirtualKey(key, false), 0) << letters[i];
    }
    EXPECT_EQ(KeyMap::mapVirtualKey(191, true), '0');
    EXPECT_EQ(KeyMap::mapVirtualKey('A', true), '*');
    EXPECT_EQ(KeyMap::mapVirtualKey('G', true), '#');
    EXPECT_EQ(KeyMap::mapVirtualKey('Q', true), 0);
    EXPECT_EQ(KeyMap::mapVirtualKey('9', true), 0);
}

}  // namespace
}  // namespace vornel
