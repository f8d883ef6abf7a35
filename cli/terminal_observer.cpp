#include "cli/terminal_observer.h"

#include "cli/notice_text.h"

namespace torvanik::cli {

void TerminalObserver::NoticeShown(NoticeId id, int number) {
    // A notice comes before and after every copy: the progress line of the copy before
    // is finished, and the next one is timed from here.
    if (progress_ != nullptr) {
        progress_->Restart(ProgressMeter::Clock::now());
    }
    const std::string text = NoticeText(NoticeOf(id, number));
    std::fwrite(text.data(), 1, text.size(), out_);
    std::fflush(out_);
}

void TerminalObserver::ReasonGiven(const std::string& line) {
    std::fprintf(out_, "%s\n\n", line.c_str());
    std::fflush(out_);
}

void TerminalObserver::ChunkCopied(const ChunkProgress& progress) {
    if (progress_ != nullptr) {
        progress_->BlockCopied(progress.doneInChunk, progress.chunkSize, progress.done,
                               progress.total, ProgressMeter::Clock::now());
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
