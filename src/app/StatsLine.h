// The line --stats prints at the end of a run:
//   stats: frames=N cpu_us_per_frame=X frame_ms_p50=A frame_ms_p99=B frame_ms_max=C max_rss_kb=Y checksum=HEX
// where the CPU time is that of the whole process (window, game and audio threads), the
// frame lengths are in device milliseconds and the checksum is that of every frame the game
// presented, as a demo's.
#pragma once

namespace vornel {

class StatsLine final {
public:
    // On stdout, flushed.
    static void print();
};

}  // namespace vornel
