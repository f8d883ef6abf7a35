#pragma once

#include <optional>
#include <string>

#include "engine/engine_seams.h"
#include "engine/reasons.h"
#include "engine/transfer.h"

namespace torvanik {

// How a command tells its front end what happened. Each report that shows something first
// brings the front end's facts up to date, so that it shows the transfer as it stands.
// With no observer, nothing is told.
class Reports {
  public:
    Reports(const EngineSeams& seams, const Transfer& transfer);

    void Notice(NoticeId id, int number = kNoNumber);
    // The notice, then the reason it was shown for (none for no reason).
    void Notice(NoticeId id, int number, const Why& why);
    void Reason(const Why& why);
    void Reset(ScreenReset reset);
    void Screen();
    void DiskStepBegun(int disk);
    void DiskProgress(int disk, bool showFree);
    void BarsKept();
    void TotalRestarted();
    void Checkpoint();
    void Undone();
    void ChunkCopied(const ChunkProgress& progress);

    // Tells the facts when they changed since last told; every command ends with this.
    void SyncFacts();
    TransferObserver* observer() const { return observer_; }

  private:
    TransferObserver* observer_;
    const Transfer& transfer_;
    const DriveChoice& drive_;
    std::optional<TransferFacts> told_;
};

}  // namespace torvanik
