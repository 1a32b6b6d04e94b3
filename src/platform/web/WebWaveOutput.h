// Wave output in the browser, kept in device time: each written buffer is handed back as
// played once its length (bytes / 2 / 8000 s) has passed, when the page's thread next looks.
// (No sound is heard yet: the buffers go to WebAudio in a later step.)
#pragma once

#include <cstdint>
#include <deque>

#include "platform/DeviceClock.h"
#include "platform/WaveOutput.h"

namespace vornel {

class WebWaveOutput final : public WaveOutput {
public:
    explicit WebWaveOutput(const DeviceClock& clock) : m_clock(clock) {}

    bool open(const WaveFormat& format, Callback callback, void* context) override;
    bool prepareHeader(WaveHeader& header) override;
    bool write(WaveHeader& header) override;
    uint32_t position() override;
    void reset() override;
    bool unprepareHeader(WaveHeader& header) override;
    void close() override;

    // Hands back every buffer whose time has come; on the page's thread, outside the player.
    void completeDue();

private:
    struct Queued {
        WaveHeader* header;
        uint64_t endsAt;  // device microseconds
    };
    void complete(WaveHeader* header);

    const DeviceClock& m_clock;
    bool m_open = false;
    Callback m_callback = nullptr;
    void* m_context = nullptr;
    std::deque<Queued> m_queue;
    uint64_t m_playedSamples = 0;
};

}  // namespace vornel
