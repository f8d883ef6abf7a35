#pragma once

#include "cli/command_line.h"
#include "cli/step_gate.h"
#include "cli/unattended_watch.h"
#include "engine/engine_seams.h"
#include "engine/transfer.h"

namespace torvanik::cli {

// One disk step after another, each once the gate opens, until the transfer is no longer
// armed; the exit status. A join goes on without the disks listed as missing, those the
// user answers `s` for, and with --batch those that keep failing.
int RunSteps(const CliRequest& request, Transfer& transfer, const EngineSeams& seams,
             StepGate& gate, UnattendedWatch& watch);

}  // namespace torvanik::cli
