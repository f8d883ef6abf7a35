#pragma once

#include "cli/failure_streak.h"
#include "engine/drive_choice.h"
#include "engine/step_outcome.h"
#include "engine/transfer.h"
#include "platform/drive_map.h"

namespace torvanik::cli {

// Ends an unattended run whose steps keep failing alike on a disk that no one changes,
// which would otherwise try again for ever.
class UnattendedWatch {
  public:
    // `watching` false: a user answers each [KLAR], and the watch never ends the run.
    // `skipping`: a join goes on without a disk that keeps failing instead of ending (a
    // parity disk only once the set is known to have one).
    UnattendedWatch(bool watching, bool skipping, const DriveMap& drives, const DriveChoice& drive,
                    const Transfer& transfer)
        : watching_(watching),
          skipping_(skipping),
          drives_(drives),
          drive_(drive),
          transfer_(transfer) {}

    void BeforeStep();
    enum class Verdict { kGoOn, kSkipDisk, kGiveUp };
    // What comes after the step, once it has said why on standard error.
    Verdict After(const StepOutcome& outcome);
    bool GivesUp(const StepOutcome& outcome) { return After(outcome) == Verdict::kGiveUp; }

  private:
    std::string Fingerprint() const;

    bool MaySkip() const;

    bool watching_;
    bool skipping_;
    const DriveMap& drives_;
    const DriveChoice& drive_;
    const Transfer& transfer_;
    FailureStreak streak_;
};

}  // namespace torvanik::cli
