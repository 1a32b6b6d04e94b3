// The game's five sounds, each made from scratch by its own function.
#pragma once

#include <array>

#include "sound/SampleTrack.h"

namespace vornel {

class GameSounds {
public:
    // Peaks as fractions of full scale. The game's mixer adds clips and halves a sum that
    // overflows, so each sound keeps to half of full scale or less: any two of them add up
    // to less than 1, and only three at their peaks at once can clip.
    static constexpr float kBouncePeak = 0.48f;
    static constexpr float kHitPeak = 0.5f;
    static constexpr float kGongPeak = 0.42f;
    static constexpr float kBadPeak = 0.4f;
    static constexpr float kMusicPeak = 0.42f;

    // The ball on the table top: a light, hollow tock, about 75 ms.
    static SampleTrack bounce();
    // The ball off a rubber bat: a sharp tick into a lower, woody tock, about 90 ms.
    static SampleTrack hit();
    // The player wins a point (or loses a game): a bell-like chime dying away over 1.2 s.
    static SampleTrack gong();
    // The opponent wins a point: a buzzy "bwow" falling by an octave and a half, 0.55 s.
    static SampleTrack bad();
    // A new game: a four-bar jingle of lead, bass and ball knocks, about 5.4 s.
    static SampleTrack music5();

    struct Entry {
        const char* name;  // the file name without ".wav", as the game asks for it
        SampleTrack (*make)();
    };
    static const std::array<Entry, 5>& all();
};

}  // namespace vornel
