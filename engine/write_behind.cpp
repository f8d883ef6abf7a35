#include "engine/write_behind.h"

#include <algorithm>

namespace torvanik {

WriteBehind::WriteBehind(FileSystem& files, std::FILE* out, std::int64_t position, double pace)
    : files_(files),
      out_(out),
      start_(position),
      pace_(pace),
      written_(position),
      onMedium_(position),
      sentOn_(position) {}

bool WriteBehind::Written(std::int64_t bytes, const ChunkProgress& progress, Reports& reports) {
    written_ += bytes;
    onTheWay_.push_back({written_, progress});
    const std::int64_t window = Window();
    // Sent on in stretches of a megabyte where the window allows: a fast disk keeps its
    // pace with fewer, larger writes.
    if (written_ - sentOn_ >= std::min(kSendStretch, window / 2)) {
        files_.StartWriteBack(out_, sentOn_, written_ - sentOn_);
        sentOn_ = written_;
    }
    if (onTheWay_.size() < 2 || written_ - onMedium_ <= window) {
        return true;
    }
    // One wait takes what is on its way down to half the window, so that a fast disk, which
    // has mostly written it by then, is asked seldom. The newest run stays on its way while
    // the next is read: the medium never waits.
    std::size_t runs = 1;
    while (runs + 1 < onTheWay_.size() && written_ - onTheWay_[runs - 1].end > window / 2) {
        ++runs;
    }
    return WaitFor(runs, reports);
}

bool WriteBehind::Flush(Reports& reports) {
    return onTheWay_.empty() || WaitFor(onTheWay_.size(), reports);
}

bool WriteBehind::WaitFor(std::size_t runs, Reports& reports) {
    const std::int64_t end = onTheWay_[runs - 1].end;
    if (!files_.WaitForWriteBack(out_, onMedium_, end - onMedium_)) {
        return false;
    }
    onMedium_ = end;
    for (; runs > 0; --runs) {
        reports.ChunkCopied(onTheWay_.front().progress);
        onTheWay_.pop_front();
    }
    return true;
}

double WriteBehind::Pace() const {
    const std::chrono::duration<double> elapsed = Clock::now() - started_;
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
