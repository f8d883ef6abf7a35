#pragma once

#include <chrono>
#include <cstdint>
#include <deque>

#include "engine/reports.h"
#include "platform/file_system.h"

namespace torvanik {

// Keeps little of a copy written but not yet on the medium, so that the bars show what the
// medium holds: what is written is sent on at once, and the copy waits for its oldest writes
// once more than about half a second of the medium's writing is on its way. The copy's
// progress is reported once its bytes are on the medium. The medium's pace is timed by the
// file system's clock.
class WriteBehind {
  public:
    // On the way at most, however fast the medium: enough to keep a fast disk busy.
    static constexpr std::int64_t kMostOnTheWay = std::int64_t{64} << 20;
    static constexpr std::int64_t kLeastOnTheWay = std::int64_t{16} << 10;
    static constexpr std::int64_t kSendStretch = std::int64_t{1} << 20;

    // `position` is where the copy starts writing `out`; `pace`, in bytes a second, is how
    // fast the medium took the chunk before (0: not known), so that a disk after the first
    // starts with a window to its measure rather than waiting on the medium at once.
    WriteBehind(FileSystem& files, File& out, std::int64_t position, double pace);

    // How much the next write may hold: a quarter of what may be on the way, in whole
    // `block`s, at least one and at most `most`; a slow medium's bars then move several
    // times a window, and a fast one is written in few calls.
    std::int64_t NextWrite(std::int64_t block, std::int64_t most) const;
    // A point of the write being made, reported once the medium holds the bytes up to
    // `end`: where a bar grows, and where the write ends.
    void Reach(std::int64_t end, const ChunkProgress& progress, bool barGrows);
    // The write of `bytes` just made; why not, when the medium did not take an older one.
    Result<void> Written(std::int64_t bytes, Reports& reports);
    // Waits until every write is on the medium.
    Result<void> Flush(Reports& reports);
    // How fast the medium has taken this copy so far, in bytes a second; 0 when not known.
    double Pace() const;

  private:
    using Clock = std::chrono::steady_clock;
    struct Point {
        std::int64_t end;
        ChunkProgress progress;
        bool barGrows;
    };

    // Waits for the oldest `writes` writes to be on the medium, and reports every point
    // where a bar grows up to there, and the last point, so that a line of figures keeps up
    // where the bars grow seldom.
    Result<void> WaitFor(std::size_t writes, Reports& reports);
    // How much may be on its way: half a second of what the medium has taken so far.
    std::int64_t Window() const;

    FileSystem& files_;
    File& out_;
    const std::int64_t start_;
    const double pace_;
    const Clock::time_point started_;
    std::int64_t written_;
    std::int64_t onMedium_;
    std::int64_t sentOn_;
    std::deque<std::int64_t> writesOnTheWay_;  // where each ends
    std::deque<Point> points_;
};

}  // namespace torvanik
