#pragma once

#include <istream>

#include "engine/engine_seams.h"
#include "engine/transfer.h"

namespace torvanik::cli {

// `check`: asks for the set's disks one by one, one KLAR per line of `input`, and prints
// what each disk's check file found; returns the exit status, kFinished only when every
// disk of the set is good.
int RunSetCheck(Transfer& transfer, const EngineSeams& seams, std::istream& input);

}  // namespace torvanik::cli
