#include "engine/reports.h"

namespace torvanik {
namespace {

TransferFacts FactsOf(const Transfer& t, const DriveChoice& drive) {
    TransferFacts facts;
    facts.armed = t.armed;
    facts.pathStrip = t.filePicked;
    if (t.armed == TransferKind::kJoin) {
        facts.path = t.destinationPath;
        facts.fileLength = t.joinTotal;
    } else {
        facts.fileLength = t.sourceSize;
        if (t.armed == TransferKind::kSplit) {
            facts.path = t.sourcePath;
        }
    }
    facts.driveRoot = drive.Root();
    facts.freeKB = t.freeKB;
    return facts;
}

}  // namespace

Reports::Reports(const EngineSeams& seams, const Transfer& transfer)
    : observer_(seams.observer), transfer_(transfer), drive_(seams.drive) {}

void Reports::SyncFacts() {
    if (observer_ == nullptr) {
        return;
    }
    TransferFacts facts = FactsOf(transfer_, drive_);
    if (told_ != facts) {
        told_ = facts;
        observer_->FactsChanged(facts);
    }
}

void Reports::Notice(NoticeId id, int number) {
    if (observer_ != nullptr) {
        SyncFacts();
        observer_->NoticeShown(id, number);
    }
}

void Reports::Notice(NoticeId id, int number, const Why& why) {
    Notice(id, number);
    Reason(why);
}

void Reports::Reason(const Why& why) {
    if (HasReason(why) && observer_ != nullptr) {
        observer_->ReasonGiven(ReasonLine(why));
    }
}

void Reports::Reset(ScreenReset reset) {
    if (observer_ != nullptr) {
        SyncFacts();
        observer_->ScreenReset(reset);
    }
}

void Reports::Screen() {
    if (observer_ != nullptr) {
        SyncFacts();
        observer_->ScreenDrawn();
    }
}

void Reports::DiskStepBegun(int disk) {
    if (observer_ != nullptr) {
        observer_->DiskStepBegun(disk);
    }
}

void Reports::DiskProgress(int disk, bool showFree) {
    if (observer_ != nullptr) {
        SyncFacts();
        observer_->DiskProgressShown(disk, showFree);
    }
}

void Reports::BarsKept() {
    if (observer_ != nullptr) {
        observer_->BarsKept();
    }
}

void Reports::TotalRestarted() {
    if (observer_ != nullptr) {
        observer_->TotalRestarted();
    }
}

void Reports::Checkpoint() {
    if (observer_ != nullptr) {
        observer_->StepCheckpoint();
    }
}

void Reports::Undone() {
    if (observer_ != nullptr) {
        observer_->StepUndone();
    }
}

// The facts were told before the copy began, and a copy changes none of them.
void Reports::ChunkCopied(const ChunkProgress& progress) {
    if (observer_ != nullptr) {
        observer_->ChunkCopied(progress);
    }
}

}  // namespace torvanik
