// The sound player mixing three playing clips into one 250 ms buffer (2000 samples), beside
// SDL's own 16-bit mixer doing the same: the first clip copied, the other two mixed over it.
#include <SDL.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "BenchmarkSets.h"
#include "InstantWaveOutput.h"
#include "media/SoundPlayer.h"

namespace vornel::bench {
namespace {

using Runner = BenchCatalogue::Runner;

constexpr int32_t kClips = 3;
constexpr uint32_t kClipBuffers = 64;  // each clip lasts this many buffers before it is restarted
constexpr uint32_t kClipBytes = kClipBuffers * SoundPlayer::kBufferBytes;
// Loud enough that three together sometimes overflow 16 bits, as the game's sounds do.
constexpr double kAmplitude = 14000;
constexpr double kFrequencies[kClips] = {440, 660, 97};  // Hz at 8000 samples a second

// A clip's 16-bit little-endian samples: a plain tone.
std::vector<uint8_t> toneBytes(double frequency) {
    std::vector<uint8_t> bytes(kClipBytes);
    for (uint32_t i = 0; i < kClipBytes / 2; ++i) {
        const auto sample = static_cast<int16_t>(kAmplitude * std::sin(2 * std::numbers::pi * frequency * i / 8000.0));
        bytes[2 * i] = static_cast<uint8_t>(sample);
        bytes[2 * i + 1] = static_cast<uint8_t>(static_cast<uint16_t>(sample) >> 8);
    }
    return bytes;
}

std::string clipPath(int32_t clip) {
    return "bench-tone-" + std::to_string(clip);
}

void playAll(SoundPlayer& player) {
    for (int32_t clip = 0; clip < kClips; ++clip) {
        player.play(clipPath(clip));
    }
}

void timeGame(benchmark::State& state) {
    InstantWaveOutput output;
    SoundPlayer player;
    player.setWaveOutput(&output);
    for (int32_t clip = 0; clip < kClips; ++clip) {
        auto* made = new SoundClip(clipPath(clip));
        const std::vector<uint8_t> bytes = toneBytes(kFrequencies[clip]);
        const bool assigned = made->assignSamples(bytes.data(), kClipBytes);
        player.addClip(made);  // the player owns it from here, filled or not
        if (!assigned) {
            state.SkipWithError("no memory for the clips");
            return;
        }
    }
    playAll(player);
    uint32_t filled = 2;  // each play fills both buffers
    for (auto _ : state) {
        if (filled + 1 >= kClipBuffers) {  // all three would soon stop: start them again
            state.PauseTiming();
            playAll(player);
            filled = 2;
            state.ResumeTiming();
        }
        player.fillBuffer();
        ++filled;
    }
    player.stopSound();
}

void timeSdl(benchmark::State& state) {
    std::vector<std::vector<uint8_t>> clips;
    for (double frequency : kFrequencies) {
        clips.push_back(toneBytes(frequency));
    }
    std::vector<uint8_t> buffer(SoundPlayer::kBufferBytes);
    uint32_t cursor = 0;
    for (auto _ : state) {
        std::memcpy(buffer.data(), clips[0].data() + cursor, SoundPlayer::kBufferBytes);
        for (int32_t clip = 1; clip < kClips; ++clip) {
            SDL_MixAudioFormat(buffer.data(), clips[clip].data() + cursor, AUDIO_S16LSB, SoundPlayer::kBufferBytes,
                               SDL_MIX_MAXVOLUME);
        }
        cursor = cursor + 2 * SoundPlayer::kBufferBytes > kClipBytes ? 0 : cursor + SoundPlayer::kBufferBytes;
        benchmark::ClobberMemory();
    }
}

}  // namespace

void BenchmarkSets::addMixer(BenchCatalogue& catalogue) {
    catalogue.addCase("mixer", "mixer: 3 clips, one 2000-sample buffer");
    catalogue.time(Runner::Vornel, timeGame);
    catalogue.notComparable(Runner::Pixman, "mixes no sound");
    catalogue.time(Runner::Sdl, timeSdl);
}

}  // namespace vornel::bench
