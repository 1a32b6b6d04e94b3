// Fuzz target of the demo loader: the input is a demo file's bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/DemoReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    vornel::DemoReader reader;
    std::string error;
    if (reader.parse(std::vector<uint8_t>(data, data + size), error)) {
        for (std::size_t i = 0; i < reader.frameCount(); ++i) {
            reader.frame(i);
        }
    }
    return 0;
}
