// Diagnostic text on the standard output.
#pragma once

#include <cstdint>

#include "core/String.h"

namespace vornel {

class Console final {
public:
    static void print(const String& text);
    // The text and a line end, flushed at once.
    static void printLine(const String& text);
    static void print(int32_t value);
    static void printLine(int32_t value);
};

}  // namespace vornel
