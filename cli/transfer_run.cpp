#include "cli/transfer_run.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>

#include <filesystem>
#include <optional>

#include "cli/exit_status.h"
#include "cli/fill.h"
#include "cli/output_guard.h"
#include "cli/progress_meter.h"
#include "cli/rebuild_run.h"
#include "cli/refusal.h"
#include "cli/set_check_run.h"
#include "cli/step_gate.h"
#include "cli/step_loop.h"
#include "cli/terminal_observer.h"
#include "cli/unattended_watch.h"
#include "engine/commands.h"
#include "engine/join_parity.h"
#include "engine/record_store.h"
#include "engine/scripted_questions.h"
#include "engine/settings.h"
#include "engine/stop_token.h"
#include "platform/settings_location.h"
#include "res/texts/terminal_texts.h"

namespace torvanik::cli {
namespace {

// The path as a file picker returns it: full, from the root.
std::string FullPath(const std::string& path) {
    std::error_code error;
    const auto full = std::filesystem::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

// Anything at `path`, a dangling link included, since "wb" would write through it.
bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

// UT with `path` picked; none when the split is armed, else the exit status.
std::optional<int> ArmSplit(Transfer& transfer, const EngineSeams& seams,
                            ScriptedQuestions& questions, const std::string& path) {
    questions.sourceAnswers.emplace_back(PickedFileFromPath(path));
    if (OnSplitOut(transfer, seams).result != StepResult::kArmed) {
        return kCannotStart;
    }
    return std::nullopt;
}

// INN with `path` picked; none when the join is armed, else the exit status.
std::optional<int> ArmJoin(Transfer& transfer, const EngineSeams& seams,
                           ScriptedQuestions& questions, const std::string& path) {
    questions.destinationAnswers.emplace_back(PickedFileFromPath(path));
    switch (OnJoinIn(transfer, seams).result) {
        case StepResult::kArmed:
            return std::nullopt;
        case StepResult::kCannotStart:
            return kCannotStart;
        default:
            return kStopped;
    }
}

// With --resume, the stopped transfer of `path` is gone on with, or nothing starts (the exit
// status); without, a stopped one is named, and the run starts from disk 1.
std::optional<int> OfferResume(const CliRequest& request, const std::string& path,
                               const RecordStore& records, ScriptedQuestions& questions) {
    const TransferKind kind =
        request.verb == Verb::kJoin ? TransferKind::kJoin : TransferKind::kSplit;
    const RecordStore::Lookup found = records.Load(kind, path);
    if (!request.resume) {
        if (found.found == RecordStore::Found::kRecord) {
            Print(Fill(kCanResume, std::to_string(found.record.nextDisk - 1)));
        }
        return std::nullopt;
    }
    if (found.found == RecordStore::Found::kNone) {
        Print(Fill(kNothingToResume, request.path));
        return kCannotStart;
    }
    if (found.found == RecordStore::Found::kDamaged) {
        Print(ReasonLine({Reason::kRecordDamaged, 0, {}}) + "\n");
        return kCannotStart;
    }
    if (found.found == RecordStore::Found::kSetAside) {
        Print(ReasonLine(found.why) + "\n");
        return kCannotStart;
    }
    questions.resumeAnswers.push_back(true);
    return std::nullopt;
}

// The stop of the run under way, which the signal handler requests; none outside a run.
std::atomic<StopToken*> runStop = nullptr;
static_assert(std::atomic<StopToken*>::is_always_lock_free);

void StopOnSignal(int /*signal*/) {
    if (StopToken* stop = runStop.load()) {
        stop->Request();
    }
}

// While it lives, SIGINT, SIGTERM, SIGHUP and SIGPIPE (the reader of the output gone)
// request `stop`: they end the running step as a failed one (its half-written file taken
// back) and the run after it; a read or write they interrupt fails at once. A file over the
// process's size limit fails its write instead of ending the program.
class StopOnSignals {
  public:
    explicit StopOnSignals(StopToken& stop) {
        runStop = &stop;
        struct sigaction action {};
        action.sa_handler = StopOnSignal;
        sigemptyset(&action.sa_mask);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
            sigaction(signal, &action, nullptr);
        }
        std::signal(SIGXFSZ, SIG_IGN);
    }
    ~StopOnSignals() { runStop = nullptr; }
    StopOnSignals(const StopOnSignals&) = delete;
    StopOnSignals& operator=(const StopOnSignals&) = delete;
};

// What stands in the way of starting the transfer of `path` (the exit status, once said):
// nothing to resume, a destination that is there already, an --auto the drive cannot keep.
// Else `drive` is the drive to use: the saved one unless --select chose another for this run
// (nothing is saved).
std::optional<int> RefusedStart(const CliRequest& request, const std::string& path,
                                const RecordStore& records, ScriptedQuestions& questions,
                                const DriveMap& drives, DriveChoice& drive) {
    if (const auto refused = OfferResume(request, path, records, questions)) {
        return refused;
    }
    if (request.verb == Verb::kJoin && !request.overwrite && !request.resume && Exists(path)) {
        return Refuse(Fill(kDestinationExists, request.path));
    }
    LoadSettings(drive);
    if (request.selectedDrive) {
        drive.driveIndex = *request.selectedDrive;
    }
    if (const auto refusal = AutoRefusal(request, drives, drive)) {
        return Refuse(*refusal);
    }
    return std::nullopt;
}

}  // namespace

int RunTransfer(const CliRequest& request, std::istream& input) {
    DriveMap drives;
    if (const auto refused = RefusedDriveMap(request, drives)) {
        return *refused;
    }
    request.drives.OverrideSettings(drives.settings());
    if (const auto refused = RefusedParity(request, drives.settings())) {
        return *refused;
    }
    const std::string path = FullPath(request.path);
    const RecordStore records(StateFolder());
    ScriptedQuestions questions;
    DriveChoice drive;
    if (const auto refused = RefusedStart(request, path, records, questions, drives, drive)) {
        return *refused;
    }

    FileSystem files;
    std::optional<ProgressMeter> progress;
    if (isatty(STDERR_FILENO) == 1) {
        progress.emplace(stderr);
    }
    TerminalObserver observer(stdout, progress ? &*progress : nullptr);
    StopToken stop;
    const EngineSeams seams{questions, files, drives, drive, &observer, &records, &stop};
    Transfer transfer;

    const StopOnSignals signals(stop);
    StepGate gate(request, input, drives, drive, stop);
    UnattendedWatch watch(request.batch || isatty(STDIN_FILENO) != 1,
                          request.batch && request.verb != Verb::kSplit, drives, drive, transfer);
    if (request.verb == Verb::kCheck) {
        return RunSetCheck(transfer, seams, gate, watch);
    }
    if (request.verb == Verb::kRebuild) {
        // The set is joined into a scratch file that no stopped run could go on with.
        const EngineSeams scratchSeams{questions, files, drives, drive, &observer, nullptr, &stop};
        return RunRebuild(request, transfer, scratchSeams, gate, watch);
    }
    const auto notArmed = request.verb == Verb::kSplit ? ArmSplit(transfer, seams, questions, path)
                                                       : ArmJoin(transfer, seams, questions, path);
    if (notArmed) {
        return *notArmed;
    }
    if (request.resume) {
        Print(Fill(kResuming, std::to_string(transfer.diskNumber)));
    }
    return RunSteps(request, transfer, seams, gate, watch);
}

}  // namespace torvanik::cli
