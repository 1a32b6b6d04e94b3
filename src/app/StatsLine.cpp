// The stats line.
#include "app/StatsLine.h"

#include <sys/resource.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>

#include "core/FrameStats.h"

namespace vornel {

void StatsLine::print() {
    const FrameStats& stats = FrameStats::ofThisProcess();
    const FrameStats::Summary frames = stats.summary();
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const int64_t cpuUs = (static_cast<int64_t>(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000000 +
                          usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    const int64_t perFrame = frames.frames > 0 ? cpuUs / frames.frames : 0;
    std::printf("stats: frames=%lld cpu_us_per_frame=%lld frame_ms_p50=%d frame_ms_p99=%d frame_ms_max=%d "
                "max_rss_kb=%ld checksum=%08" PRIx32 "\n",
                static_cast<long long>(frames.frames), static_cast<long long>(perFrame), frames.medianMs,
                frames.p99Ms, frames.maxMs, usage.ru_maxrss, stats.checksum());
    std::fflush(stdout);
}

}  // namespace vornel
