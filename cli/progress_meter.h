#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "cli/progress_line.h"

namespace torvanik::cli {

// Keeps the progress line on a terminal: one line, redrawn in place as blocks are copied.
class ProgressMeter {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

    explicit ProgressMeter(std::FILE* terminal) : terminal_(terminal) {}

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
    void Draw(const std::string& line, Clock::time_point now);

    std::FILE* terminal_;
    bool lineOpen_ = false;
    Clock::time_point start_{};
    // `done` when the copy measured from start_ began.
    std::optional<std::int64_t> startDone_;
    Clock::time_point lastDrawn_{};
};

}  // namespace torvanik::cli
