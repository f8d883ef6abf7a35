#include "cli/set_check_run.h"

#include <cstdio>
#include <string>

#include "cli/cli_texts.h"
#include "cli/exit_status.h"
#include "cli/fill.h"
#include "cli/klar_prompt.h"
#include "cli/output_guard.h"
#include "engine/set_check.h"

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

}  // namespace

int RunSetCheck(Transfer& transfer, const EngineSeams& seams, std::istream& input) {
    if (!BeginSetCheck(transfer, seams)) {
        return kCannotStart;
    }
    bool allGood = true;
    bool anySummed = false;
    for (;;) {
        if (!AwaitKlar(input, stdout) || StopRequested(seams)) {
            return kStopped;
        }
        const int disk = transfer.diskNumber;
        const DiskCheck check = CheckNextDisk(transfer, seams);
        if (StopRequested(seams)) {
            return kStopped;
        }
        std::string line = Fill(VerdictText(check.verdict), std::to_string(disk));
        if (check.verdict == DiskVerdict::kUnreadable) {
            line += ReasonLine(check.why) + "\n";
        }
        Print(line + "\n");
        // A disk that is not of the set is asked for again and counts for nothing.
        if (check.verdict == DiskVerdict::kUnreadable || check.verdict == DiskVerdict::kOtherSet) {
            seams.observer->NoticeShown(NoticeId::kInsertDiskAgain, disk);
            continue;
        }
        allGood = allGood && check.verdict == DiskVerdict::kGood;
        anySummed = anySummed || check.verdict != DiskVerdict::kNoCheckFile;
        if (check.last) {
            break;
        }
        seams.observer->NoticeShown(NoticeId::kInsertDiskAgain, transfer.diskNumber);
    }
    Print(std::string(anySummed ? (allGood ? kSetGood : kSetNotGood) : kSetWithoutCheckFiles));
    return allGood ? kFinished : kNotAllGood;
}

}  // namespace torvanik::cli
