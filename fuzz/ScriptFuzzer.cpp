// Fuzz target of the input-script parser: the input is the text of a script.
#include <cstddef>
#include <cstdint>
#include <string>

#include "harness/InputScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    vornel::InputScript script;
    std::string error;
    if (vornel::InputScript::parse(text, "fuzz.txt", script, error)) {
        script.firstPenLine();
    }
    return 0;
}
