#pragma once

#include "cli/command_line.h"
#include "cli/step_gate.h"
#include "cli/unattended_watch.h"
#include "engine/engine_seams.h"
#include "engine/transfer.h"

namespace torvanik::cli {

// `rebuild DISK`: joins the set without DISK into a scratch file on the local disk, asking
// for the other disks and the parity disks, then asks for a blank disk and writes DISK's
// files on it. Returns the exit status.
int RunRebuild(const CliRequest& request, Transfer& transfer, const EngineSeams& seams,
               StepGate& gate, UnattendedWatch& watch);

}  // namespace torvanik::cli
