// Fuzz target of the WAV loader: the input is written as a sound file and loaded as a clip,
// whose every sample is then read, as the mixer would.
#include <cstddef>
#include <cstdint>

#include "FuzzFolder.h"
#include "media/SoundClip.h"

namespace {

volatile uint32_t g_sampleSum;  // keeps the reads of the samples from being optimised away

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static vornel::fuzz::FuzzFolder folder("wav");
    folder.write("fuzz.wav", data, size);

    vornel::SoundClip* clip = vornel::SoundClip::load((folder.path() / "fuzz.wav").string());
    uint32_t sum = 0;
    for (uint32_t i = 0; i < clip->length(); ++i) {
        sum += clip->samples()[i];
    }
    g_sampleSum = sum;
    delete clip;
    return 0;
}
