#include "cli/step_loop.h"

#include <algorithm>
#include <string>

#include "cli/exit_status.h"
#include "cli/fill.h"
#include "cli/output_guard.h"
#include "engine/commands.h"
#include "engine/join_parity.h"
#include "res/texts/terminal_texts.h"

namespace torvanik::cli {
namespace {

// The gate for the disk the next step handles: a parity disk once a split's data disks are
// done, or when a join reads one.
KlarAnswer OpenFor(StepGate& gate, const Transfer& transfer) {
    if (transfer.parity.nextParityDisk > 0) {
        return gate.Open(transfer.parity.nextParityDisk, true);
    }
    if (transfer.joinParity.parityAsked > 0) {
        return gate.Open(transfer.joinParity.parityAsked, true);
    }
    return gate.Open(transfer.diskNumber);
}

// The disks of the transfer finished before a signal stopped it.
int StoppedBySignal(const Transfer& transfer) {
    const int last = transfer.armed != TransferKind::kNone ? transfer.diskNumber - 1 : 0;
    std::string text;
    if (last < 1) {
        text = kStoppedWithoutDisks;
    } else {
        text = Fill(kStoppedWithDisks, last == 1 ? "1" : "1-" + std::to_string(last));
    }
    Print(text);
    return kStopped;
}

// The data disk the join is at was named with --missing.
bool ListedMissing(const CliRequest& request, const Transfer& transfer) {
    const auto& missing = request.missing;
    return transfer.armed == TransferKind::kJoin && !AwaitsParityDisk(transfer) &&
           std::find(missing.begin(), missing.end(), transfer.diskNumber) != missing.end();
}

// The exit status of a run that ended with `last`.
int StatusAfter(const StepOutcome& last) {
    if (last.result == StepResult::kFinished) {
        return kFinished;
    }
    return last.why.reason == Reason::kTooManyMissing ? kTooManyMissing : kStopped;
}

}  // namespace

int RunSteps(const CliRequest& request, Transfer& transfer, const EngineSeams& seams,
             StepGate& gate, UnattendedWatch& watch) {
    StepOutcome last;
    while (transfer.armed != TransferKind::kNone) {
        if (ListedMissing(request, transfer)) {
            last = OnSkipDisk(transfer, seams);
            continue;
        }
        // Stopping leaves the transfer as quitting the window would: what was written stays.
        const KlarAnswer answer = OpenFor(gate, transfer);
        if (answer == KlarAnswer::kStop) {
            return StopRequested(seams) ? StoppedBySignal(transfer) : kStopped;
        }
        if (answer == KlarAnswer::kSkip && transfer.armed == TransferKind::kJoin) {
            last = OnSkipDisk(transfer, seams);
            continue;
        }
        watch.BeforeStep();
        last = OnDiskReady(transfer, seams);
        if (StopRequested(seams)) {
            return StoppedBySignal(transfer);
        }
        switch (watch.After(last)) {
            case UnattendedWatch::Verdict::kGoOn:
                break;
            case UnattendedWatch::Verdict::kSkipDisk:
                last = OnSkipDisk(transfer, seams);
                break;
            case UnattendedWatch::Verdict::kGiveUp:
                return kStopped;
        }
    }
    return StatusAfter(last);
}

}  // namespace torvanik::cli
