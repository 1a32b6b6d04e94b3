// The headers written to a wave output and not yet played, in order, with how far the first
// one has played. Not thread-safe: each wave output guards it with its own lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "platform/WaveOutput.h"

namespace vornel {

class WaveQueue final {
public:
    // 16-bit mono: two bytes a sample. An odd last byte is never played.
    static uint64_t samplesIn(const WaveHeader& header) { return header.bufferLength / 2; }

    void push(WaveHeader& header);
    bool empty() const { return m_headers.empty(); }
    // Samples still to play in all queued headers.
    uint64_t queuedSamples() const;
    // Samples until the first queued header has played completely.
    uint64_t samplesLeftInFirst() const;

    // Plays count samples into out: queued samples while there are any, then silence; all
    // silence while the sound gate is closed (device/SoundGate.h).
    // Headers played to their end move to finished. Answers how many samples came from
    // headers.
    std::size_t play(int16_t* out, std::size_t count, std::vector<WaveHeader*>& finished);
    // Empties the queue, answering the headers that were in it.
    std::vector<WaveHeader*> takeAll();

    // Marks a header played and tells the output's user, as the device's thread does.
    static void complete(WaveHeader& header, WaveOutput::Callback callback, void* context);

private:
    std::deque<WaveHeader*> m_headers;
    uint64_t m_playedOfFirst = 0;  // samples of the first header already played
};

}  // namespace vornel
