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
    UnattendedWatch(bool watching, const DriveMap& drives, const DriveChoice& drive,
                    const Transfer& transfer)
        : watching_(watching), drives_(drives), drive_(drive), transfer_(transfer) {}

    void BeforeStep();
    // True, once it has said why on standard error, when the run is to end.
    bool GivesUp(const StepOutcome& outcome);

  private:
    std::string Fingerprint() const;

    bool watching_;
    const DriveMap& drives_;
    const DriveChoice& drive_;
    const Transfer& transfer_;
    FailureStreak streak_;
};

}  // namespace torvanik::cli
