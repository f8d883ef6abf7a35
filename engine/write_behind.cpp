#include "engine/write_behind.h"

#include <algorithm>

namespace torvanik {

WriteBehind::WriteBehind(FileSystem& files, std::FILE* out, std::int64_t position)
    : files_(files), out_(out), start_(position), written_(position), onMedium_(position) {}

bool WriteBehind::Written(std::int64_t bytes, const ChunkProgress& progress, Reports& reports) {
    files_.StartWriteBack(out_, written_, bytes);
    written_ += bytes;
    onTheWay_.push_back({written_, progress});
    // The newest run stays on its way while the next is read: the medium never waits.
    while (onTheWay_.size() > 1 && written_ - onMedium_ > Window()) {
        if (!WaitForOldest(reports)) {
            return false;
        }
    }
    return true;
}

bool WriteBehind::Flush(Reports& reports) {
    while (!onTheWay_.empty()) {
        if (!WaitForOldest(reports)) {
            return false;
        }
    }
    return true;
}

bool WriteBehind::WaitForOldest(Reports& reports) {
    const Run run = onTheWay_.front();
    if (!files_.WaitForWriteBack(out_, onMedium_, run.end - onMedium_)) {
        return false;
    }
    onMedium_ = run.end;
    onTheWay_.pop_front();
    reports.ChunkCopied(run.progress);
    return true;
}

std::int64_t WriteBehind::Window() const {
    const std::chrono::duration<double> elapsed = Clock::now() - started_;
    const auto taken = static_cast<double>(onMedium_ - start_);
    if (taken <= 0 || elapsed.count() <= 0) {
        return kLeastOnTheWay;
    }
    constexpr double kSecondsOnTheWay = 0.5;
    const auto window = static_cast<std::int64_t>(taken / elapsed.count() * kSecondsOnTheWay);
    return std::clamp(window, kLeastOnTheWay, kMostOnTheWay);
}

}  // namespace torvanik
