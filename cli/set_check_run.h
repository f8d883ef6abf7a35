#pragma once

#include "cli/step_gate.h"
#include "cli/unattended_watch.h"
#include "engine/engine_seams.h"
#include "engine/transfer.h"

namespace torvanik::cli {

// `check`: asks for the set's disks one by one, each let through by `gate` as a split's or
// a join's are, and prints what each disk's check file found; `watch` ends an unattended
// run whose disk fails alike again and again. Returns the exit status, kFinished only when
// every disk of the set is good.
int RunSetCheck(Transfer& transfer, const EngineSeams& seams, StepGate& gate,
                UnattendedWatch& watch);

}  // namespace torvanik::cli
