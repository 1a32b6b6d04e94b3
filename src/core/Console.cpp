// Console output through the C library.
#include "core/Console.h"

#include <cstdio>

namespace vornel {

void Console::print(const String& text) {
    std::fputs(text.text(), stdout);
}

void Console::printLine(const String& text) {
    std::printf("%s\n", text.text());
    std::fflush(stdout);
}

void Console::print(int32_t value) {
    std::printf("%d", value);
}

void Console::printLine(int32_t value) {
    std::printf("%d\n", value);
}

}  // namespace vornel
