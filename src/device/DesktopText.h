// Text typed on the desktop as the handheld's characters, which are 8-bit (Latin-1).
#pragma once

#include <string>
#include <string_view>

namespace vornel {

class DesktopText final {
public:
    // The UTF-8 text's characters that Latin-1 has, each as one byte; the others (and stray
    // bytes) are left out.
    static std::string latin1Of(std::string_view utf8);
};

}  // namespace vornel
