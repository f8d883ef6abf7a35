#include "cli/set_check_run.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/exit_status.h"
#include "cli/fill.h"
#include "cli/output_guard.h"
#include "cli/parity_check_run.h"
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
        case DiskVerdict::kMissing:
            return kDiskMissing;
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

void PrintVerdict(const DiskCheck& check, int disk) {
    std::string line = Fill(VerdictText(check.verdict), std::to_string(disk));
    if (check.verdict == DiskVerdict::kUnreadable) {
        line += ReasonLine(check.why) + "\n";
    } else if (check.verdict == DiskVerdict::kDamaged && HasReason(check.why)) {
        line = ReasonLine(check.why) + "\n";
    }
    Print(line + "\n");
}

// The disk in the drive checked, or the one the user goes on without; none when it can't
// be gone on without (disk 1).
std::optional<DiskCheck> NextDisk(Transfer& transfer, const EngineSeams& seams, KlarAnswer answer) {
    if (answer != KlarAnswer::kSkip) {
        return CheckNextDisk(transfer, seams);
    }
    auto skipped = SkipDiskInCheck(transfer);
    if (!skipped) {
        Print(std::string(kCannotSkipDiskOne) + "\n");
    }
    return skipped;
}

}  // namespace

int RunSetCheck(Transfer& transfer, const EngineSeams& seams, StepGate& gate,
                UnattendedWatch& watch) {
    if (!BeginSetCheck(transfer, seams)) {
        return kCannotStart;
    }
    bool anyCheckFile = false;
    bool everyGood = true;
    std::vector<int> bad;
    for (;;) {
        const int disk = transfer.diskNumber;
        const KlarAnswer answer = gate.Open(disk);
        if (answer == KlarAnswer::kStop || StopRequested(seams)) {
            return kStopped;
        }
        watch.BeforeStep();
        const std::optional<DiskCheck> found = NextDisk(transfer, seams, answer);
        if (StopRequested(seams)) {
            return kStopped;
        }
        if (!found) {
            continue;
        }
        const DiskCheck& check = *found;
        PrintVerdict(check, disk);
        // A disk that is not of the set is asked for again and counts for nothing.
        if (check.verdict == DiskVerdict::kUnreadable || check.verdict == DiskVerdict::kOtherSet) {
            seams.observer->NoticeShown(NoticeId::kInsertDiskAgain, disk);
            if (watch.GivesUp(OutcomeOf(check))) {
                return kStopped;
            }
            continue;
        }
        watch.GivesUp(OutcomeOf(check));
        if (check.verdict != DiskVerdict::kGood && check.verdict != DiskVerdict::kNoCheckFile) {
            bad.push_back(disk);
        }
        everyGood = everyGood && check.verdict == DiskVerdict::kGood;
        anyCheckFile = anyCheckFile || check.verdict != DiskVerdict::kNoCheckFile;
        if (check.last) {
            break;
        }
        seams.observer->NoticeShown(NoticeId::kInsertDiskAgain, transfer.diskNumber);
    }
    ParityTally parity;
    if (anyCheckFile) {
        parity = CheckParityDisks(transfer, seams, gate, watch);
        if (parity.stopped) {
            return kStopped;
        }
    }
    const bool allGood = everyGood && !parity.anyBad;
    Print(std::string(anyCheckFile ? (allGood ? kSetGood : kSetNotGood) : kSetWithoutCheckFiles));
    SayWhatParityRebuilds(bad, parity);
    return allGood ? kFinished : kNotAllGood;
}

}  // namespace torvanik::cli
