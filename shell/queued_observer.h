#pragma once

#include <QObject>
#include <functional>

#include "engine/transfer_report.h"

namespace torvanik {

// Hands every report, made on any thread, on to `target` on the thread of `context`, as a
// queued call that carries the report's values: the reports arrive in the order made.
class QueuedObserver : public TransferObserver {
  public:
    QueuedObserver(QObject& context, TransferObserver& target)
        : context_(context), target_(target) {}

    void FactsChanged(const TransferFacts& facts) override;
    void ScreenReset(torvanik::ScreenReset reset) override;
    void ScreenDrawn() override;
    void NoticeShown(NoticeId id, int number) override;
    void ReasonGiven(const std::string& line) override;
    void DiskStepBegun(int disk) override;
    void DiskProgressShown(int disk, bool showFree) override;
    void BarsKept() override;
    void TotalRestarted() override;
    void StepCheckpoint() override;
    void StepUndone() override;
    void ChunkCopied(const ChunkProgress& progress) override;
    void CheckStarted(std::int64_t length) override;
    void CheckProgress(std::int64_t checked, std::int64_t length) override;
    void CheckEnded() override;

  private:
    void Post(std::function<void(TransferObserver&)> report);

    QObject& context_;
    TransferObserver& target_;
};

}  // namespace torvanik
