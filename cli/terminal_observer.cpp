#include "cli/terminal_observer.h"

#include "cli/notice_text.h"

namespace torvanik::cli {

void TerminalObserver::NoticeShown(const Notice& notice) {
    // A notice comes before and after every copy: the progress line of the copy before
    // is finished, and the next one is timed from here.
    if (progress_ != nullptr) {
        progress_->Restart(ProgressMeter::Clock::now());
    }
    const std::string text = NoticeText(notice);
    std::fwrite(text.data(), 1, text.size(), out_);
    std::fflush(out_);
}

void TerminalObserver::ReasonGiven(const std::string& line) {
    std::fprintf(out_, "%s\n\n", line.c_str());
    std::fflush(out_);
}

void TerminalObserver::BlockCopied(std::int64_t doneInChunk, std::int64_t chunkSize,
                                   std::int64_t done, std::int64_t total) {
    if (progress_ != nullptr) {
        progress_->BlockCopied(doneInChunk, chunkSize, done, total, ProgressMeter::Clock::now());
    }
}

void TerminalObserver::CheckStarted(std::int64_t /*length*/) {
    // The copy's line stays; the check draws a line of its own, timed from here.
    if (progress_ != nullptr) {
        progress_->Restart(ProgressMeter::Clock::now());
    }
}

void TerminalObserver::CheckProgress(std::int64_t checked, std::int64_t length) {
    if (progress_ != nullptr) {
        progress_->Checked(checked, length, ProgressMeter::Clock::now());
    }
}

}  // namespace torvanik::cli
