// Formatting the table and the summary line.
#include "ResultTable.h"

#include <algorithm>
#include <limits>

namespace vornel::bench {
namespace {

using Runner = BenchCatalogue::Runner;

constexpr double kNoTime = -1;
constexpr int kLabelWidth = 40;

std::string formatted(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Microseconds with three significant digits or more, so that both 0.05 and 900 read well;
// "-" for a benchmark that did not run (filtered out, or failed: the failures are listed).
std::string timeText(double microseconds) {
    if (microseconds < 0) {
        return "-";
    }
    return formatted(microseconds < 10 ? "%.3f" : microseconds < 100 ? "%.2f" : "%.1f", microseconds);
}

// The summary's number for a ratio; "n/a" when no case could be compared.
std::string summaryRatio(double worst) {
    return worst == std::numeric_limits<double>::infinity() ? "n/a" : formatted("%.2f", worst);
}

std::string summaryTime(double microseconds) {
    return microseconds < 0 ? "n/a" : formatted("%.1f", microseconds);
}

// How many play frames of the drawing benchmark a frame of the timedemo costs: the rest of a
// frame (the game's rules, the tape, the checksum, the paint) beside the drawing.
std::string timedemoAgainstPlayFrame(double fps, double playFrameUs) {
    return fps > 0 && playFrameUs > 0 ? formatted("%.2f", 1e6 / fps / playFrameUs) : "n/a";
}

}  // namespace

ResultTable::ResultTable(const BenchCatalogue& catalogue, const ResultCollector& results, std::string frameCase,
                         std::string playFrameCase)
    : m_catalogue(catalogue),
      m_results(results),
      m_frameCase(std::move(frameCase)),
      m_playFrameCase(std::move(playFrameCase)) {}

double ResultTable::gameTime(const std::string& caseId) const {
    double microseconds = kNoTime;
    if (!m_results.medianMicroseconds(BenchCatalogue::benchmarkName(caseId, Runner::Vornel), microseconds)) {
        return kNoTime;
    }
    return microseconds;
}

std::string ResultTable::peerCells(const BenchCatalogue::Case& row, Runner runner, double ours,
                                   double& worst) const {
    const std::string& note = runner == Runner::Pixman ? row.pixmanNote : row.sdlNote;
    double theirs = kNoTime;
    std::string time = "n/a";
    std::string ratio;
    if (note.empty()) {
        m_results.medianMicroseconds(BenchCatalogue::benchmarkName(row.id, runner), theirs);
        time = timeText(theirs);
    }
    if (ours > 0 && theirs > 0) {
        const double value = theirs / ours;
        worst = std::min(worst, value);
        ratio = formatted("%.2f", value);
    }
    char cells[48];
    std::snprintf(cells, sizeof cells, "%10s %8s", time.c_str(), ratio.c_str());
    return cells;
}

void ResultTable::print(std::FILE* out) const {
    std::fprintf(out, "\n%-*s %10s %10s %8s %10s %8s\n", kLabelWidth, "case (240x320 surface, median us)", "vornel",
                 "pixman", "pix/ours", "sdl", "sdl/ours");
    std::fprintf(out, "%s\n", std::string(kLabelWidth + 52, '-').c_str());
    double worstPixman = std::numeric_limits<double>::infinity();
    double worstSdl = std::numeric_limits<double>::infinity();
    for (const BenchCatalogue::Case& row : m_catalogue.cases()) {
        const double ours = gameTime(row.id);
        const std::string pixman = peerCells(row, Runner::Pixman, ours, worstPixman);
        const std::string sdl = peerCells(row, Runner::Sdl, ours, worstSdl);
        std::fprintf(out, "%-*s %10s %s %s\n", kLabelWidth, row.label.c_str(), timeText(ours).c_str(),
                     pixman.c_str(), sdl.c_str());
    }
    printTimedemo(out);
    printLatency(out);
    printNotes(out);
    for (const std::string& failure : m_results.failures()) {
        std::fprintf(out, "failed: %s\n", failure.c_str());
    }
    const double playFrame = gameTime(m_playFrameCase);
    std::fprintf(out,
                 "bench: worst_vs_pixman=%s worst_vs_sdl=%s frame_us=%s play_frame_us=%s timedemo_fps=%s "
                 "timedemo_vs_play_frame=%s latency_p99_ms=%s\n",
                 summaryRatio(worstPixman).c_str(), summaryRatio(worstSdl).c_str(),
                 summaryTime(gameTime(m_frameCase)).c_str(), summaryTime(playFrame).c_str(),
                 summaryTime(m_timedemo.fps).c_str(), timedemoAgainstPlayFrame(m_timedemo.fps, playFrame).c_str(),
                 summaryTime(m_latency.p99).c_str());
}

// The whole game, drawn frame by frame as fast as it goes: frames per second, not microseconds.
void ResultTable::printTimedemo(std::FILE* out) const {
    if (m_timedemo.fps < 0) {
        return;
    }
    const std::string label = "timedemo " + m_timedemo.demoName + " (" + std::to_string(m_timedemo.frames) +
                              " frames), frames/s";
    std::fprintf(out, "%-*s %10.0f%s\n", kLabelWidth, label.c_str(), m_timedemo.fps,
                 m_timedemo.matched ? "" : "  (frames differ from the recording)");
}

// Real milliseconds from the event loop to the display, in a window on the dummy driver.
void ResultTable::printLatency(std::FILE* out) const {
    if (m_latency.p99 < 0) {
        return;
    }
    const std::string label = "key latency in play (" + std::to_string(m_latency.events) + " events), p99 ms";
    std::fprintf(out, "%-*s %10.1f  (p50 %.1f, max %.1f)\n", kLabelWidth, label.c_str(), m_latency.p99, m_latency.p50,
                 m_latency.max);
}

void ResultTable::printNotes(std::FILE* out) const {
    std::fprintf(out, "\nn/a: the peer cannot do the same work\n");
    for (const BenchCatalogue::Case& row : m_catalogue.cases()) {
        if (!row.pixmanNote.empty() && row.pixmanNote == row.sdlNote) {
            std::fprintf(out, "  %s: pixman and SDL %s\n", row.label.c_str(), row.pixmanNote.c_str());
            continue;
        }
        if (!row.pixmanNote.empty()) {
            std::fprintf(out, "  %s: pixman %s\n", row.label.c_str(), row.pixmanNote.c_str());
        }
        if (!row.sdlNote.empty()) {
            std::fprintf(out, "  %s: SDL %s\n", row.label.c_str(), row.sdlNote.c_str());
        }
    }
}

}  // namespace vornel::bench
