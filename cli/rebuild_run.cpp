#include "cli/rebuild_run.h"

#include <filesystem>

#include "cli/exit_status.h"
#include "cli/step_loop.h"
#include "engine/disk_rebuild.h"

namespace torvanik::cli {

int RunRebuild(const CliRequest& request, Transfer& transfer, const EngineSeams& seams,
               StepGate& gate, UnattendedWatch& watch) {
    std::error_code error;
    std::filesystem::path scratch = std::filesystem::temp_directory_path(error);
    if (error) {
        scratch = "/tmp";
    }
    DiskRebuild rebuild(transfer, seams, request.rebuildDisk, scratch.string());
    if (rebuild.Arm().result != StepResult::kArmed) {
        return kCannotStart;
    }
    CliRequest join = request;
    join.missing = {request.rebuildDisk};
    if (const int joined = RunSteps(join, transfer, seams, gate, watch); joined != kFinished) {
        return joined;
    }
    if (rebuild.AskForBlankDisk().result != StepResult::kArmed) {
        return kStopped;
    }
    for (;;) {
        if (gate.Open(request.rebuildDisk) != KlarAnswer::kReady || StopRequested(seams)) {
            return kStopped;
        }
        watch.BeforeStep();
        const StepOutcome written = rebuild.WriteDisk();
        if (written.result == StepResult::kFinished) {
            return kFinished;
        }
        if (StopRequested(seams) || watch.GivesUp(written)) {
            return kStopped;
        }
    }
}

}  // namespace torvanik::cli
