// Key names of input scripts.
#include "platform/VirtualKey.h"

#include <array>
#include <utility>

namespace vornel {
namespace {

constexpr std::array<std::pair<std::string_view, int32_t>, 17> kNamedKeys = {{
    {"left", VirtualKey::kLeft},
    {"right", VirtualKey::kRight},
    {"up", VirtualKey::kUp},
    {"down", VirtualKey::kDown},
    {"enter", VirtualKey::kEnter},
    {"escape", VirtualKey::kEscape},
    {"backspace", VirtualKey::kBackspace},
    {"space", VirtualKey::kSpace},
    {"f1", VirtualKey::kF1},
    {"f2", VirtualKey::kF2},
    {"f8", VirtualKey::kF8},
    {"f9", VirtualKey::kF9},
    {"slash", VirtualKey::kSlash},
    {"home", VirtualKey::kHome},
    {"period", VirtualKey::kPeriod},
    {"leftbracket", VirtualKey::kLeftBracket},
    {"rightbracket", VirtualKey::kRightBracket},
}};

}  // namespace

int32_t VirtualKey::fromName(std::string_view name) {
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= '0' && c <= '9') {
            return kDigit0 + (c - '0');
        }
        if (c >= 'a' && c <= 'z') {
            return kLetterA + (c - 'a');
        }
        if (c >= 'A' && c <= 'Z') {
            return kLetterA + (c - 'A');
        }
        return 0;
    }
    for (const auto& [keyName, code] : kNamedKeys) {
        if (keyName == name) {
            return code;
        }
    }
    return 0;
}

}  // namespace vornel
