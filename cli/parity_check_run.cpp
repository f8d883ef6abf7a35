#include "cli/parity_check_run.h"

#include <string>

#include "cli/fill.h"
#include "cli/output_guard.h"
#include "engine/join_parity.h"
#include "engine/parity_check.h"
#include "res/texts/terminal_texts.h"

namespace torvanik::cli {

ParityTally CheckParityDisks(Transfer& transfer, const EngineSeams& seams, StepGate& gate,
                             UnattendedWatch& watch) {
    ParityTally tally;
    int number = 1;
    while (number <= (tally.ofSet > 0 ? tally.ofSet : kMaxParityDisks)) {
        seams.observer->NoticeShown(NoticeId::kInsertParityDisk, number);
        const KlarAnswer answer = gate.Open(number, true);
        if (answer == KlarAnswer::kStop || StopRequested(seams)) {
            tally.stopped = true;
            return tally;
        }
        const std::string disk = std::to_string(number);
        if (answer == KlarAnswer::kSkip) {
            Print(Fill(kParityDiskMissing, disk) + "\n");
            tally.anyBad = tally.anyBad || tally.ofSet > 0;
            ++number;
            if (tally.ofSet == 0) {
                return tally;
            }
            continue;
        }
        watch.BeforeStep();
        ParityCheck check = CheckParityDisk(transfer, seams, number);
        switch (check.verdict) {
            case ParityVerdict::kNotParity:
                // The set has no parity disk, or this one is not in the drive: said, and done.
                Print(Fill(kNoParityDisk, disk) + "\n");
                tally.anyBad = tally.anyBad || tally.ofSet > 0;
                return tally;
            case ParityVerdict::kGood:
                Print(Fill(kParityDiskGood, disk) + "\n");
                ++tally.good;
                tally.ofSet = static_cast<int>(check.layout->facts.parityDisks);
                ++number;
                break;
            case ParityVerdict::kDamaged:
                Print(Fill(kParityDiskDamaged, disk) + ReasonLine(check.why) + "\n\n");
                tally.anyBad = true;
                ++number;
                break;
            case ParityVerdict::kOtherSet:
            case ParityVerdict::kUnreadable:
                Print(Fill(kParityDiskUnreadable, disk) + ReasonLine(check.why) + "\n\n");
                if (watch.GivesUp({StepResult::kSameDisk, check.why})) {
                    tally.stopped = true;
                    return tally;
                }
                break;
        }
    }
    return tally;
}

void SayWhatParityRebuilds(const std::vector<int>& bad, const ParityTally& parity) {
    if (parity.ofSet == 0) {
        return;
    }
    const bool rebuilds = static_cast<int>(bad.size()) <= parity.good;
    for (const int disk : bad) {
        const std::string number = std::to_string(disk);
        Print(Fill(Fill(rebuilds ? kParityRebuilds : kParityCannotRebuild, number), number));
    }
}

}  // namespace torvanik::cli
