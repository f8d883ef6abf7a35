#include "cli/progress_meter.h"

#include <string>

namespace torvanik::cli {

void ProgressMeter::Restart(Clock::time_point now) {
    if (lineOpen_) {
        std::fputc('\n', terminal_);
        std::fflush(terminal_);
    }
    lineOpen_ = false;
    start_ = now;
    startDone_.reset();
}

void ProgressMeter::BlockCopied(std::int64_t doneInChunk, std::int64_t chunkSize, std::int64_t done,
                                std::int64_t total, Clock::time_point now) {
    if (!startDone_) {
        startDone_ = done - doneInChunk;
    }
    const bool due = !lineOpen_ || doneInChunk >= chunkSize || now - lastDrawn_ >= kRedrawInterval;
    if (!due) {
        return;
    }
    ProgressFigures figures{doneInChunk, chunkSize, done, total, std::nullopt};
    const std::chrono::duration<double> elapsed = now - start_;
    if (elapsed.count() > 0) {
        figures.bytesPerSecond = static_cast<double>(done - *startDone_) / elapsed.count();
    }
    // Back to the start of the line, the new text, and away with what was longer before.
    std::fputs("\r", terminal_);
    std::fputs(FormatProgressLine(figures).c_str(), terminal_);
    std::fputs("\x1b[K", terminal_);
    std::fflush(terminal_);
    lineOpen_ = true;
    lastDrawn_ = now;
}

}  // namespace torvanik::cli
