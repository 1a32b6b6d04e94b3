// Wave output in the browser. Once the page's audio runs (browsers start it at the first key
// or tap), each written buffer plays through WebAudio at 8000 Hz, 16-bit mono, right after
// the one before, and is handed back when WebAudio says it ended; until then each buffer is
// handed back, unheard, once its length (bytes / 2 / 8000 s) of device time has passed. The
// page's thread looks at every pump.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>

#include "core/Clock.h"
#include "platform/WaveOutput.h"

namespace vornel {

class WebWaveOutput final : public WaveOutput {
public:
    explicit WebWaveOutput(Clock& clock) : m_clock(clock) {}

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
        uint64_t endsAt;  // device microseconds; for a buffer given to WebAudio, unused
        bool audible;     // given to WebAudio, which says when it ended
    };
    // What tells whether a buffer waiting has ended, each read when first needed.
    struct Ends {
        std::optional<int32_t> audible;  // WebAudio's count of ended buffers
        std::optional<uint64_t> now;     // device microseconds
    };
    static bool audioRuns();
    bool hasEnded(const Queued& queued, Ends& ends);
    void complete(WaveHeader* header);

    Clock& m_clock;
    bool m_open = false;
    Callback m_callback = nullptr;
    void* m_context = nullptr;
    std::deque<Queued> m_queue;
    uint64_t m_playedSamples = 0;
    int32_t m_audibleEnded = 0;  // WebAudio's count of ended buffers already handed back
};

}  // namespace vornel
