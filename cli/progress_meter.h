#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "cli/progress_line.h"
#include "cli/terminal_shape.h"

namespace torvanik::cli {

// Keeps the progress line on a terminal: one line, redrawn in place as blocks are copied,
// fitted to the terminal's width as it is at each drawing.
class ProgressMeter {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

    explicit ProgressMeter(std::FILE* terminal)
        : ProgressMeter(terminal, [terminal] { return ShapeOf(terminal); }) {}
    ProgressMeter(std::FILE* terminal, std::function<TerminalShape()> shape)
        : terminal_(terminal), shape_(std::move(shape)) {}

    // Ends a line being drawn (its last state stays on the terminal); the rate of the next
    // copy is measured from `now`.
    void Restart(Clock::time_point now);

    // After a block: redraws the line when it is new, when the chunk is done, or when it
    // was last drawn kRedrawInterval ago.
    void BlockCopied(std::int64_t doneInChunk, std::int64_t chunkSize, std::int64_t done,
                     std::int64_t total, Clock::time_point now);

    // While a disk is read back: the checking line, on the same terms.
    void Checked(std::int64_t checked, std::int64_t length, Clock::time_point now);

  private:
    bool Due(bool finished, Clock::time_point now) const;
    std::optional<double> Rate(std::int64_t done, Clock::time_point now) const;
    void Draw(const ProgressFigures& figures, bool checking, Clock::time_point now);

    std::FILE* terminal_;
    std::function<TerminalShape()> shape_;
    bool lineOpen_ = false;
    // Of the line drawn last: what a shorter one must blank where lines can't be erased.
    std::size_t drawnLength_ = 0;
    Clock::time_point start_{};
    // `done` when the copy measured from start_ began.
    std::optional<std::int64_t> startDone_;
    Clock::time_point lastDrawn_{};
};

}  // namespace torvanik::cli
