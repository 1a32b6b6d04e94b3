// A plain decimal number as the launcher's options and the input scripts write one: digits
// only (no sign, no spaces, no other characters), within a range.
#pragma once

#include <cstdint>
#include <string_view>

namespace vornel {

class PlainNumber final {
public:
    // False, leaving value alone, for anything else or a number outside first..last.
    static bool parse(std::string_view text, int32_t first, int32_t last, int32_t& value);
    static bool parse(std::string_view text, uint32_t first, uint32_t last, uint32_t& value);
};

}  // namespace vornel
