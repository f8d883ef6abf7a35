#include "shell/queued_observer.h"

namespace torvanik {

void QueuedObserver::Post(std::function<void(TransferObserver&)> report) {
    QMetaObject::invokeMethod(
        &context_, [this, report = std::move(report)] { report(target_); }, Qt::QueuedConnection);
}

void QueuedObserver::FactsChanged(const TransferFacts& facts) {
    Post([facts](TransferObserver& o) { o.FactsChanged(facts); });
}

void QueuedObserver::ScreenReset(torvanik::ScreenReset reset) {
    Post([reset](TransferObserver& o) { o.ScreenReset(reset); });
}

void QueuedObserver::ScreenDrawn() {
    Post([](TransferObserver& o) { o.ScreenDrawn(); });
}

void QueuedObserver::NoticeShown(NoticeId id, int number) {
    Post([id, number](TransferObserver& o) { o.NoticeShown(id, number); });
}

void QueuedObserver::ReasonGiven(const std::string& line) {
    Post([line](TransferObserver& o) { o.ReasonGiven(line); });
}

void QueuedObserver::DiskStepBegun(int disk) {
    Post([disk](TransferObserver& o) { o.DiskStepBegun(disk); });
}

void QueuedObserver::DiskProgressShown(int disk, bool showFree) {
    Post([disk, showFree](TransferObserver& o) { o.DiskProgressShown(disk, showFree); });
}

void QueuedObserver::BarsKept() {
    Post([](TransferObserver& o) { o.BarsKept(); });
}

void QueuedObserver::TotalRestarted() {
    Post([](TransferObserver& o) { o.TotalRestarted(); });
}

void QueuedObserver::StepCheckpoint() {
    Post([](TransferObserver& o) { o.StepCheckpoint(); });
}

void QueuedObserver::StepUndone() {
    Post([](TransferObserver& o) { o.StepUndone(); });
}

void QueuedObserver::ChunkCopied(const ChunkProgress& progress) {
    Post([progress](TransferObserver& o) { o.ChunkCopied(progress); });
}

void QueuedObserver::CheckStarted(std::int64_t length) {
    Post([length](TransferObserver& o) { o.CheckStarted(length); });
}

void QueuedObserver::CheckProgress(std::int64_t checked, std::int64_t length) {
    Post([checked, length](TransferObserver& o) { o.CheckProgress(checked, length); });
}

void QueuedObserver::CheckEnded() {
    Post([](TransferObserver& o) { o.CheckEnded(); });
}

}  // namespace torvanik
