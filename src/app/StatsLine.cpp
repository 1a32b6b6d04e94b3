// The stats line.
#include "app/StatsLine.h"

#include <sys/resource.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/FrameStats.h"

namespace vornel {
namespace {

std::string tenths(int32_t value) {
    return std::to_string(value / 10) + "." + std::to_string(value % 10);
}

// The end of the line: the input's latency.
void printLatency(const InputLatency::Summary& latency) {
    std::printf(" latency_ms_p50=%s latency_ms_p99=%s latency_ms_max=%s latency_events=%lld\n",
                tenths(latency.p50).c_str(), tenths(latency.p99).c_str(), tenths(latency.max).c_str(),
                static_cast<long long>(latency.events));
}

}  // namespace

void StatsLine::print() {
    const FrameStats& stats = FrameStats::ofThisProcess();
    const FrameStats::Summary frames = stats.summary();
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const int64_t cpuUs = (static_cast<int64_t>(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000000 +
                          usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    const int64_t perFrame = frames.frames > 0 ? cpuUs / frames.frames : 0;
    std::printf("stats: frames=%lld cpu_us_per_frame=%lld frame_ms_p50=%d frame_ms_p99=%d frame_ms_max=%d "
                "max_rss_kb=%ld checksum=%08" PRIx32,
                static_cast<long long>(frames.frames), static_cast<long long>(perFrame), frames.medianMs,
                frames.p99Ms, frames.maxMs, usage.ru_maxrss, stats.checksum());
    printLatency(stats.latency());
    std::fflush(stdout);
}

}  // namespace vornel
