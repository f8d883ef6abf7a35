#include "cli/transfer_run.h"

#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <optional>

#include "cli/cli_texts.h"
#include "cli/exit_status.h"
#include "cli/fill.h"
#include "cli/klar_prompt.h"
#include "cli/progress_meter.h"
#include "cli/refusal.h"
#include "cli/terminal_observer.h"
#include "engine/commands.h"
#include "engine/engine_notice.h"
#include "engine/scripted_questions.h"
#include "engine/settings.h"
#include "engine/stop_request.h"
#include "platform/settings_location.h"

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
std::optional<int> ArmSplit(const EngineSeams& seams, ScriptedQuestions& questions,
                            const std::string& path) {
    questions.sourceAnswers.emplace_back(PickedFileFromPath(path));
    OnSplitOut(seams);
    if (!InSplitMode(transferState)) {
        return kCannotStart;
    }
    return std::nullopt;
}

// INN with `path` picked; none when the join is armed, else the exit status.
std::optional<int> ArmJoin(const EngineSeams& seams, ScriptedQuestions& questions,
                           const std::string& path) {
    questions.destinationAnswers.emplace_back(PickedFileFromPath(path));
    OnJoinIn(seams);
    if (transferState.lastNotice.firstLine == notice::kInsertDiskOneForJoin) {
        return kCannotStart;
    }
    if (!InJoinMode(transferState)) {
        return kStopped;
    }
    return std::nullopt;
}

void StopOnSignal(int /*signal*/) {
    RequestStop();
}

// SIGINT, SIGTERM and SIGHUP end the running step as a failed one (its half-written file
// taken back) and the run after it; a read or write they interrupt fails at once. A file
// over the process's size limit fails its write instead of ending the program.
void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = StopOnSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    std::signal(SIGXFSZ, SIG_IGN);
}

// The disks of the transfer finished before a signal stopped it.
int StoppedBySignal() {
    const int last = InMode(transferState) ? transferState.diskNumber - 1 : 0;
    std::string text;
    if (last < 1) {
        text = kStoppedWithoutDisks;
    } else {
        text = Fill(kStoppedWithDisks, last == 1 ? "1" : "1-" + std::to_string(last));
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return kStopped;
}

bool Finished() {
    switch (transferState.lastNotice.firstLine) {
        case notice::kSplitDoneOne:
        case notice::kSplitDoneSeveral:
        case notice::kJoinDoneOne:
        case notice::kJoinDoneSeveral:
            return true;
        default:
            return false;
    }
}

}  // namespace

int RunTransfer(const CommandLine& line, std::istream& input) {
    DriveMap drives;
    std::string error;
    if (!BuildDriveMap(line.driveOptions, DrivesFilePath(), drives, error)) {
        return Refuse(error);
    }
    if (line.noEject) {
        drives.settings().eject = false;
    }
    if (line.noVerify) {
        drives.settings().verify = false;
    }
    const std::string path = FullPath(line.path);
    if (line.verb == Verb::kJoin && !line.overwrite && Exists(path)) {
        return Refuse(Fill(kDestinationExists, line.path));
    }
    // The saved drive holds unless --select chose another for this run; nothing is saved.
    LoadSettings();
    if (line.selectedDrive) {
        transferState.driveIndex = *line.selectedDrive;
    }

    // Nobody sees the picture: the engine's drawing records its state and paints nothing.
    CanvasSource canvases = CanvasSource::WithoutSurface();
    ScriptedQuestions questions;
    FileSystem files;
    std::optional<ProgressMeter> progress;
    if (isatty(STDERR_FILENO) == 1) {
        progress.emplace(stderr);
    }
    TerminalObserver observer(stdout, progress ? &*progress : nullptr);
    const EngineSeams seams{canvases, questions, files, drives, &observer};

    CatchStopSignals();
    const auto notArmed = line.verb == Verb::kSplit ? ArmSplit(seams, questions, path)
                                                    : ArmJoin(seams, questions, path);
    if (notArmed) {
        return *notArmed;
    }
    while (InMode(transferState)) {
        // Stopping leaves the transfer as quitting the window would: what was written stays.
        if (!AwaitKlar(input, stdout)) {
            return StopRequested() ? StoppedBySignal() : kStopped;
        }
        OnDiskReady(seams);
        if (StopRequested()) {
            return StoppedBySignal();
        }
    }
    return Finished() ? kFinished : kStopped;
}

}  // namespace torvanik::cli
