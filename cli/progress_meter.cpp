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
    if (Due(doneInChunk >= chunkSize, now)) {
        Draw(FormatProgressLine({doneInChunk, chunkSize, done, total, Rate(done, now)}), now);
    }
}

void ProgressMeter::Checked(std::int64_t checked, std::int64_t length, Clock::time_point now) {
    if (!startDone_) {
        startDone_ = 0;
    }
    if (Due(checked >= length, now)) {
        Draw(FormatCheckLine({checked, length, checked, length, Rate(checked, now)}), now);
    }
}

bool ProgressMeter::Due(bool finished, Clock::time_point now) const {
    return !lineOpen_ || finished || now - lastDrawn_ >= kRedrawInterval;
}

std::optional<double> ProgressMeter::Rate(std::int64_t done, Clock::time_point now) const {
    const std::chrono::duration<double> elapsed = now - start_;
    if (elapsed.count() <= 0) {
        return std::nullopt;
    }
    return static_cast<double>(done - *startDone_) / elapsed.count();
}

void ProgressMeter::Draw(const std::string& line, Clock::time_point now) {
    // Back to the start of the line, the new text, and away with what was longer before.
    std::fputs("\r", terminal_);
    std::fputs(line.c_str(), terminal_);
    std::fputs("\x1b[K", terminal_);
    std::fflush(terminal_);
    lineOpen_ = true;
    lastDrawn_ = now;
}

}  // namespace torvanik::cli
