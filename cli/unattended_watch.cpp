#include "cli/unattended_watch.h"

#include "cli/disk_watch.h"
#include "cli/refusal.h"
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

bool UnattendedWatch::GivesUp(const StepOutcome& outcome) {
    if (!watching_) {
        return false;
    }
    const std::string reason = HasReason(outcome.why) ? ReasonLine(outcome.why) : std::string();
    const std::string disk = FailureStreak::Failed(outcome.result) ? Fingerprint() : "";
    if (!streak_.AfterStep(outcome.result, reason, disk)) {
        return false;
    }
    std::string text(kSameFailureAgain);
    if (!reason.empty()) {
        text += ": " + reason;
    }
    Complain(text);
    return true;
}

}  // namespace torvanik::cli
