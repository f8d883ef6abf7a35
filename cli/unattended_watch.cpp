#include "cli/unattended_watch.h"

#include "cli/disk_watch.h"
#include "cli/fill.h"
#include "cli/refusal.h"
#include "engine/join_parity.h"
#include "engine/reasons.h"
#include "res/texts/terminal_texts.h"

namespace torvanik::cli {

std::string UnattendedWatch::Fingerprint() const {
    return DiskFingerprint(drives_, drive_.driveIndex, transfer_.diskNumber);
}

void UnattendedWatch::BeforeStep() {
    // Looking at the disk costs a listing of it; it matters only after a failed step.
    if (watching_ && streak_.Counting()) {
        streak_.BeforeStep(Fingerprint());
    }
}

bool UnattendedWatch::MaySkip() const {
    return skipping_ && transfer_.armed == TransferKind::kJoin &&
           (!AwaitsParityDisk(transfer_) || transfer_.joinParity.layout.has_value());
}

UnattendedWatch::Verdict UnattendedWatch::After(const StepOutcome& outcome) {
    if (!watching_) {
        return Verdict::kGoOn;
    }
    const std::string reason = HasReason(outcome.why) ? ReasonLine(outcome.why) : std::string();
    const std::string disk = FailureStreak::Failed(outcome.result) ? Fingerprint() : "";
    if (!streak_.AfterStep(outcome.result, reason, disk)) {
        return Verdict::kGoOn;
    }
    const bool skip = MaySkip();
    std::string text(skip ? kSkippedAfterFailures : kSameFailureAgain);
    if (!reason.empty()) {
        text += ": " + reason;
    }
    Complain(text);
    if (skip) {
        streak_ = FailureStreak();
        return Verdict::kSkipDisk;
    }
    return Verdict::kGiveUp;
}

}  // namespace torvanik::cli
