// The line --stats prints at the end of a run:
//   stats: frames=N cpu_us_per_frame=X frame_ms_p50=A frame_ms_p99=B frame_ms_max=C max_rss_kb=Y checksum=HEX
//          latency_ms_p50=L latency_ms_p99=M latency_ms_max=K latency_events=E   (on the same line)
// where the CPU time is that of the whole process (window, game and audio threads), the
// frame lengths are in device milliseconds, the checksum is that of every frame the game
// presented, as a demo's, and the latencies are those of the E key and pen events from a
// window or the page, in real milliseconds with one decimal (InputLatency).
#pragma once

namespace vornel {

class StatsLine final {
public:
    // On stdout, flushed.
    static void print();
};

}  // namespace vornel
