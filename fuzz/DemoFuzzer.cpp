// Fuzz target of the demo loader and its playback: the input is a demo file's bytes; every
// frame it keeps is played through a tape, as the game would read it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "demo/DemoReader.h"
#include "demo/DemoTape.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    vornel::DemoReader reader;
    std::string error;
    if (!reader.parse(std::vector<uint8_t>(data, data + size), error)) {
        return 0;
    }
    vornel::DemoTape tape(reader);
    for (std::size_t i = 0; i < reader.frameCount(); ++i) {
        for (const vornel::DemoRecord& record : reader.frame(i)) {
            tape.pass(record.kind, 0);
        }
        tape.endFrame(0);
    }
    std::string why;
    tape.playedWhole(why);
    return 0;
}
