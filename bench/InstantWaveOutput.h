// A wave output that plays every buffer the moment it is written, so that the sound player
// finds a free buffer on every fill and the mixing alone is timed.
#pragma once

#include "platform/WaveOutput.h"

namespace vornel::bench {

class InstantWaveOutput : public WaveOutput {
public:
    bool open(const WaveFormat&, Callback, void*) override { return true; }
    bool prepareHeader(WaveHeader& header) override {
        header.flags.fetch_or(WaveHeader::kPrepared);
        return true;
    }
    // Played at once: the header is handed back done without a callback, so no fill nests in another.
    bool write(WaveHeader& header) override {
        m_samples += header.bufferLength / 2;
        header.flags.fetch_or(WaveHeader::kDone);
        return true;
    }
    // Moves with every buffer, so the player never takes the output for stuck.
    uint32_t position() override { return m_samples; }
    void reset() override {}
    bool unprepareHeader(WaveHeader& header) override {
        header.flags.fetch_and(~WaveHeader::kPrepared);
        return true;
    }
    void close() override {}

private:
    uint32_t m_samples = 0;
};

}  // namespace vornel::bench
