#include "engine/write_behind.h"

#include <algorithm>

namespace torvanik {

WriteBehind::WriteBehind(FileSystem& files, File& out, std::int64_t position, double pace)
    : files_(files),
      out_(out),
      start_(position),
      pace_(pace),
      started_(files.Now()),
      written_(position),
      onMedium_(position),
      sentOn_(position) {}

std::int64_t WriteBehind::NextWrite(std::int64_t block, std::int64_t most) const {
    return std::clamp(Window() / 4 / block * block, block, most);
}

void WriteBehind::Reach(std::int64_t end, const ChunkProgress& progress, bool barGrows) {
    points_.push_back({end, progress, barGrows});
}

Result<void> WriteBehind::Written(std::int64_t bytes, Reports& reports) {
    written_ += bytes;
    writesOnTheWay_.push_back(written_);
    const std::int64_t window = Window();
    // Sent on in stretches of a megabyte where the window allows: a fast disk keeps its
    // pace with fewer, larger writes.
    if (written_ - sentOn_ >= std::min(kSendStretch, window / 2)) {
        files_.StartWriteBack(out_, sentOn_, written_ - sentOn_);
        sentOn_ = written_;
    }
    if (writesOnTheWay_.size() < 2 || written_ - onMedium_ <= window) {
        return {};
    }
    // One wait takes what is on its way down to half the window, so that a fast disk, which
    // has mostly written it by then, is asked seldom. The newest write stays on its way
    // while the next is read: the medium never waits.
    std::size_t writes = 1;
    while (writes + 1 < writesOnTheWay_.size() &&
           written_ - writesOnTheWay_[writes - 1] > window / 2) {
        ++writes;
    }
    return WaitFor(writes, reports);
}

Result<void> WriteBehind::Flush(Reports& reports) {
    if (writesOnTheWay_.empty()) {
        return {};
    }
    return WaitFor(writesOnTheWay_.size(), reports);
}

Result<void> WriteBehind::WaitFor(std::size_t writes, Reports& reports) {
    const std::int64_t end = writesOnTheWay_[writes - 1];
    if (auto waited = files_.WaitForWriteBack(out_, onMedium_, end - onMedium_); !waited) {
        return waited;
    }
    onMedium_ = end;
    writesOnTheWay_.erase(writesOnTheWay_.begin(),
                          writesOnTheWay_.begin() + static_cast<std::ptrdiff_t>(writes));
    while (!points_.empty() && points_.front().end <= end) {
        const Point point = points_.front();
        points_.pop_front();
        const bool last = points_.empty() || points_.front().end > end;
        if (point.barGrows || last) {
            reports.ChunkCopied(point.progress);
        }
    }
    return {};
}

double WriteBehind::Pace() const {
    const std::chrono::duration<double> elapsed = files_.Now() - started_;
    const auto taken = static_cast<double>(onMedium_ - start_);
    return taken > 0 && elapsed.count() > 0 ? taken / elapsed.count() : 0;
}

std::int64_t WriteBehind::Window() const {
    const double measured = Pace();
    const double pace = measured > 0 ? measured : pace_;
    constexpr double kSecondsOnTheWay = 0.5;
    const auto window = static_cast<std::int64_t>(pace * kSecondsOnTheWay);
    return std::clamp(window, kLeastOnTheWay, kMostOnTheWay);
}

}  // namespace torvanik
