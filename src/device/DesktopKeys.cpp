// The desktop keys' table.
#include "device/DesktopKeys.h"

#include <array>

#include "platform/VirtualKey.h"

namespace vornel {
namespace {

struct NamedKey {
    DesktopKey key;
    int32_t virtualKey;     // 0: the handheld has no such key
    std::string_view code;  // the browser's name of the place, empty for none
    std::string_view name;  // the browser's name of the meaning, empty for none
};

constexpr std::array<NamedKey, 26> kNamedKeys = {{
    {DesktopKey::kNumpadEnter, VirtualKey::kEnter, "NumpadEnter", ""},
    {DesktopKey::kNumpadPlus, 0, "NumpadAdd", ""},
    {DesktopKey::kNumpadMinus, 0, "NumpadSubtract", ""},
    {DesktopKey::kEnter, VirtualKey::kEnter, "Enter", "Enter"},
    {DesktopKey::kBackspace, VirtualKey::kBackspace, "Backspace", "Backspace"},
    {DesktopKey::kEscape, VirtualKey::kEscape, "Escape", "Escape"},
    {DesktopKey::kSpace, VirtualKey::kSpace, "Space", " "},
    {DesktopKey::kLeft, VirtualKey::kLeft, "ArrowLeft", "ArrowLeft"},
    {DesktopKey::kUp, VirtualKey::kUp, "ArrowUp", "ArrowUp"},
    {DesktopKey::kRight, VirtualKey::kRight, "ArrowRight", "ArrowRight"},
    {DesktopKey::kDown, VirtualKey::kDown, "ArrowDown", "ArrowDown"},
    {DesktopKey::kF1, VirtualKey::kF1, "F1", "F1"},
    {DesktopKey::kF2, VirtualKey::kF2, "F2", "F2"},
    {DesktopKey::kF8, VirtualKey::kF8, "F8", "F8"},
    {DesktopKey::kF9, VirtualKey::kF9, "F9", "F9"},
    {DesktopKey::kF11, 0, "F11", "F11"},
    {DesktopKey::kF12, 0, "F12", "F12"},
    {DesktopKey::kSlash, VirtualKey::kSlash, "Slash", "/"},
    {DesktopKey::kEquals, 0, "Equal", "="},
    {DesktopKey::kPlus, 0, "", "+"},
    {DesktopKey::kMinus, 0, "Minus", "-"},
    {DesktopKey::kPeriod, 0, "Period", "."},
    {DesktopKey::kLeftBracket, 0, "BracketLeft", "["},
    {DesktopKey::kRightBracket, 0, "BracketRight", "]"},
    {DesktopKey::kHome, 0, "Home", "Home"},
    {DesktopKey::kNone, 0, "", ""},
}};

int32_t indexIn(DesktopKey key, DesktopKey first, int32_t count) {
    const int32_t index = static_cast<int32_t>(key) - static_cast<int32_t>(first);
    return index >= 0 && index < count ? index : -1;
}

bool isLetterOrSlash(DesktopKey key) {
    return indexIn(key, DesktopKey::kLetterA, 26) >= 0 || key == DesktopKey::kSlash;
}

// The virtual key of what the key means.
int32_t virtualKeyOfMeaning(DesktopKey key) {
    if (const int32_t letter = indexIn(key, DesktopKey::kLetterA, 26); letter >= 0) {
        return VirtualKey::kLetterA + letter;
    }
    if (const int32_t digit = indexIn(key, DesktopKey::kDigit0, 10); digit >= 0) {
        return VirtualKey::kDigit0 + digit;
    }
    for (const NamedKey& named : kNamedKeys) {
        if (named.key == key) {
            return named.virtualKey;
        }
    }
    return 0;
}

}  // namespace

int32_t DesktopKeys::virtualKeyOf(const DesktopKeyEvent& key, bool lettersByPlace) {
    if (const int32_t digit = indexIn(key.place, DesktopKey::kNumpad0, 10); digit >= 0) {
        return VirtualKey::kDigit0 + digit;
    }
    if (const int32_t digit = indexIn(key.meaning, DesktopKey::kNumpad0, 10); digit >= 0) {
        return VirtualKey::kDigit0 + digit;
    }
    if (key.place == DesktopKey::kNumpadEnter) {
        return VirtualKey::kEnter;
    }
    if (lettersByPlace) {
        if (const int32_t letter = indexIn(key.place, DesktopKey::kLetterA, 26); letter >= 0) {
            return VirtualKey::kLetterA + letter;
        }
        if (key.place == DesktopKey::kSlash) {
            return VirtualKey::kSlash;
        }
        if (isLetterOrSlash(key.meaning)) {
            return 0;  // a letter printed on some other key is not one of the handheld's letter keys
        }
    }
    return virtualKeyOfMeaning(key.meaning);
}

DesktopKeys::EmulatorAction DesktopKeys::emulatorActionOf(const DesktopKeyEvent& key) {
    const DesktopKey meaning = key.meaning;
    const bool enter = meaning == DesktopKey::kEnter || meaning == DesktopKey::kNumpadEnter ||
                       key.place == DesktopKey::kNumpadEnter;
    if (meaning == DesktopKey::kF11 || (key.alt && enter)) {
        return EmulatorAction::ToggleFullscreen;
    }
    if (meaning == DesktopKey::kF12) {
        return EmulatorAction::Screenshot;
    }
    if (!key.control || key.alt || key.altGraph) {
        return EmulatorAction::None;
    }
    if (meaning == letter('R' - 'A')) {
        return EmulatorAction::Rotate;
    }
    if (meaning == DesktopKey::kPlus || meaning == DesktopKey::kEquals || meaning == DesktopKey::kNumpadPlus) {
        return EmulatorAction::ZoomIn;
    }
    if (meaning == DesktopKey::kMinus || meaning == DesktopKey::kNumpadMinus) {
        return EmulatorAction::ZoomOut;
    }
    return EmulatorAction::None;
}

DesktopKey DesktopKeys::ofVirtualKey(int32_t virtualKey) {
    if (virtualKey >= VirtualKey::kLetterA && virtualKey < VirtualKey::kLetterA + 26) {
        return letter(virtualKey - VirtualKey::kLetterA);
    }
    if (virtualKey >= VirtualKey::kDigit0 && virtualKey < VirtualKey::kDigit0 + 10) {
        return digit(virtualKey - VirtualKey::kDigit0);
    }
    for (const NamedKey& named : kNamedKeys) {
        if (named.virtualKey == virtualKey && virtualKey != 0 && named.key != DesktopKey::kNumpadEnter) {
            return named.key;
        }
    }
    // The replay viewer's keys give the game nothing, but a script may press them.
    static constexpr std::array<std::pair<int32_t, DesktopKey>, 4> kViewerKeys = {{
        {VirtualKey::kHome, DesktopKey::kHome},
        {VirtualKey::kPeriod, DesktopKey::kPeriod},
        {VirtualKey::kLeftBracket, DesktopKey::kLeftBracket},
        {VirtualKey::kRightBracket, DesktopKey::kRightBracket},
    }};
    for (const auto& [code, key] : kViewerKeys) {
        if (code == virtualKey) {
            return key;
        }
    }
    return DesktopKey::kNone;
}

DesktopKey DesktopKeys::ofBrowserCode(std::string_view code) {
    if (code.size() == 4 && code.substr(0, 3) == "Key" && code[3] >= 'A' && code[3] <= 'Z') {
        return letter(code[3] - 'A');
    }
    if (code.size() == 6 && code.substr(0, 5) == "Digit" && code[5] >= '0' && code[5] <= '9') {
        return digit(code[5] - '0');
    }
    if (code.size() == 7 && code.substr(0, 6) == "Numpad" && code[6] >= '0' && code[6] <= '9') {
        return numpadDigit(code[6] - '0');
    }
    for (const NamedKey& named : kNamedKeys) {
        if (!named.code.empty() && named.code == code) {
            return named.key;
        }
    }
    return DesktopKey::kNone;
}

DesktopKey DesktopKeys::ofHandheldKey(std::string_view name) {
    struct HandheldKey {
        std::string_view name;
        DesktopKey key;
    };
    static constexpr std::array<HandheldKey, 10> kKeys = {{
        {"Up", DesktopKey::kUp},
        {"Down", DesktopKey::kDown},
        {"Left", DesktopKey::kLeft},
        {"Right", DesktopKey::kRight},
        {"Action", DesktopKey::kEnter},
        {"Left soft key", DesktopKey::kF1},
        {"Right soft key", DesktopKey::kF2},
        {"Back", DesktopKey::kEscape},
        {"*", DesktopKey::kF8},  // the keypad's star and hash are the handheld's F8 and F9
        {"#", DesktopKey::kF9},
    }};
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') {
        return digit(name[0] - '0');
    }
    for (const HandheldKey& key : kKeys) {
        if (key.name == name) {
            return key.key;
        }
    }
    return DesktopKey::kNone;
}

DesktopKey DesktopKeys::ofBrowserKey(std::string_view key) {
    if (key.size() == 1 && key[0] >= 'a' && key[0] <= 'z') {
        return letter(key[0] - 'a');
    }
    if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z') {
        return letter(key[0] - 'A');
    }
    if (key.size() == 1 && key[0] >= '0' && key[0] <= '9') {
        return digit(key[0] - '0');
    }
    for (const NamedKey& named : kNamedKeys) {
        if (!named.name.empty() && named.name == key) {
            return named.key;
        }
    }
    return DesktopKey::kNone;
}

}  // namespace vornel
