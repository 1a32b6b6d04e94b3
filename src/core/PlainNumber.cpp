// Plain decimal numbers.
#include "core/PlainNumber.h"

#include <charconv>

namespace vornel {
namespace {

bool parseWithin(std::string_view text, uint64_t first, uint64_t last, uint64_t& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    uint64_t number = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (failure != std::errc() || end != text.data() + text.size() || number < first || number > last) {
        return false;
    }
    value = number;
    return true;
}

}  // namespace

bool PlainNumber::parse(std::string_view text, int32_t first, int32_t last, int32_t& value) {
    uint64_t number = 0;
    if (first < 0 || !parseWithin(text, static_cast<uint64_t>(first), static_cast<uint64_t>(last), number)) {
        return false;
    }
    value = static_cast<int32_t>(number);
    return true;
}

bool PlainNumber::parse(std::string_view text, uint32_t first, uint32_t last, uint32_t& value) {
    uint64_t number = 0;
    if (!parseWithin(text, first, last, number)) {
        return false;
    }
    value = static_cast<uint32_t>(number);
    return true;
}

}  // namespace vornel
