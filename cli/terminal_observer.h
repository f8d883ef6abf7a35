#pragma once

#include <cstdio>

#include "cli/progress_meter.h"
#include "engine/transfer_report.h"

namespace torvanik::cli {

// Prints every notice the engine shows, when it is shown, and feeds the progress line.
class TerminalObserver : public TransferObserver {
  public:
    // `progress` may be null: no progress line.
    TerminalObserver(std::FILE* out, ProgressMeter* progress) : out_(out), progress_(progress) {}

    void NoticeShown(NoticeId id, int number) override;
    void ReasonGiven(const std::string& line) override;
    void ChunkCopied(const ChunkProgress& progress) override;
    void CheckStarted(std::int64_t length) override;
    void CheckProgress(std::int64_t checked, std::int64_t length) override;

  private:
    std::FILE* out_;
    ProgressMeter* progress_;
};

}  // namespace torvanik::cli
