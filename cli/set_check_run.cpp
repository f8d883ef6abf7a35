#include "cli/set_check_run.h"

#include <cstdio>
#include <string>

#include "cli/exit_status.h"
#include "cli/fill.h"
#include "cli/output_guard.h"
#include "engine/set_check.h"
#include "res/texts/terminal_texts.h"

namespace torvanik::cli {
namespace {

std::string_view VerdictText(DiskVerdict verdict) {
    switch (verdict) {
        case DiskVerdict::kGood:
            return kDiskGood;
        case DiskVerdict::kDamaged:
            return kDiskDamaged;
        case DiskVerdict::kInfoDamaged:
            return kInfoFileDamaged;
        case DiskVerdict::kOtherSet:
            return kDiskOfOtherSet;
        case DiskVerdict::kNoCheckFile:
            return kDiskWithoutCheckFile;
        case DiskVerdict::kUnreadable:
            break;
    }
    return kDiskUnreadable;
}

// A disk asked for again is a failed step, for the watch of unattended runs.
StepOutcome OutcomeOf(const DiskCheck& check) {
    switch (check.verdict) {
        case DiskVerdict::kUnreadable:
            return {StepResult::kSameDisk, check.why};
        case DiskVerdict::kOtherSet:
            return {StepResult::kSameDisk, {Reason::kOtherSet, 0, {}}};
        default:
            return {check.last ? StepResult::kFinished : StepResult::kAdvanced, {}};
    }
}

}  // namespace

int RunSetCheck(Transfer& transfer, const EngineSeams& seams, StepGate& gate,
                UnattendedWatch& watch) {
    if (!BeginSetCheck(transfer, seams)) {
        return kCannotStart;
    }
    bool allGood = true;
    bool anyCheckFile = false;
    for (;;) {
        if (!gate.Open(transfer.diskNumber) || StopRequested(seams)) {
            return kStopped;
        }
        const int disk = transfer.diskNumber;
        watch.BeforeStep();
        const DiskCheck check = CheckNextDisk(transfer, seams);
        if (StopRequested(seams)) {
            return kStopped;
        }
        std::string line = Fill(VerdictText(check.verdict), std::to_string(disk));
        if (check.verdict == DiskVerdict::kUnreadable) {
            line += ReasonLine(check.why) + "\n";
        } else if (check.verdict == DiskVerdict::kDamaged && HasReason(check.why)) {
            line = ReasonLine(check.why) + "\n";
        }
        Print(line + "\n");
        // A disk that is not of the set is asked for again and counts for nothing.
        if (check.verdict == DiskVerdict::kUnreadable || check.verdict == DiskVerdict::kOtherSet) {
            seams.observer->NoticeShown(NoticeId::kInsertDiskAgain, disk);
            if (watch.GivesUp(OutcomeOf(check))) {
                return kStopped;
            }
            continue;
        }
        watch.GivesUp(OutcomeOf(check));
        allGood = allGood && check.verdict == DiskVerdict::kGood;
        anyCheckFile = anyCheckFile || check.verdict != DiskVerdict::kNoCheckFile;
        if (check.last) {
            break;
        }
        seams.observer->NoticeShown(NoticeId::kInsertDiskAgain, transfer.diskNumber);
    }
    Print(std::string(anyCheckFile ? (allGood ? kSetGood : kSetNotGood) : kSetWithoutCheckFiles));
    return allGood ? kFinished : kNotAllGood;
}

}  // namespace torvanik::cli
