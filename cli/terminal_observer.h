#pragma once

#include <cstdio>

#include "cli/progress_meter.h"
#include "engine/engine_seams.h"

namespace torvanik::cli {

// Prints every notice the engine shows, when it is shown, and feeds the progress line.
class TerminalObserver : public TransferObserver {
  public:
    // `progress` may be null: no progress line.
    TerminalObserver(std::FILE* out, ProgressMeter* progress) : out_(out), progress_(progress) {}

    void NoticeShown(const Notice& notice) override;
    void ReasonGiven(const std::string& line) override;
    void BlockCopied(std::int64_t doneInChunk, std::int64_t chunkSize, std::int64_t done,
                     std::int64_t total) override;
    void CheckStarted(std::int64_t length) override;
    void CheckProgress(std::int64_t checked, std::int64_t length) override;

  private:
    std::FILE* out_;
    ProgressMeter* progress_;
};

}  // namespace torvanik::cli
