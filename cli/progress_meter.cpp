#include "cli/progress_meter.h"

#include <algorithm>
#include <string>

namespace torvanik::cli {

void ProgressMeter::Restart(Clock::time_point now) {
    if (lineOpen_) {
        std::fputc('\n', terminal_);
        std::fflush(terminal_);
    }
    lineOpen_ = false;
    drawnLength_ = 0;
    start_ = now;
    startDone_.reset();
}

void ProgressMeter::BlockCopied(std::int64_t doneInChunk, std::int64_t chunkSize, std::int64_t done,
                                std::int64_t total, Clock::time_point now) {
    if (!startDone_) {
        startDone_ = done - doneInChunk;
    }
    if (Due(doneInChunk >= chunkSize, now)) {
        Draw({doneInChunk, chunkSize, done, total, Rate(done, now)}, false, now);
    }
}

void ProgressMeter::Checked(std::int64_t checked, std::int64_t length, Clock::time_point now) {
    if (!startDone_) {
        startDone_ = 0;
    }
    if (Due(checked >= length, now)) {
        Draw({checked, length, checked, length, Rate(checked, now)}, true, now);
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

void ProgressMeter::Draw(const ProgressFigures& figures, bool checking, Clock::time_point now) {
    const TerminalShape shape = shape_();
    // One column short of the edge, so that the cursor never wraps onto the next line.
    const int width = std::max(shape.columns - 1, 1);
    const std::string line =
        checking ? FormatCheckLine(figures, width) : FormatProgressLine(figures, width);
    // Back to the start of the line, the new text, and away with what was longer before.
    std::string text = "\r" + line;
    if (shape.erasesLines) {
        text += "\x1b[K";
    } else {
        const std::size_t blanked = std::min(drawnLength_, static_cast<std::size_t>(width));
        text.append(blanked > line.size() ? blanked - line.size() : 0, ' ');
    }
    std::fputs(text.c_str(), terminal_);
    std::fflush(terminal_);
    lineOpen_ = true;
    drawnLength_ = line.size();
    lastDrawn_ = now;
}

}  // namespace torvanik::cli
