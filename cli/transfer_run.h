#pragma once

#include <istream>

#include "cli/command_line.h"

namespace torvanik::cli {

// Runs the split, join or check of `request` on the engine, one KLAR per line of `input`,
// until it is finished or the user stops; returns the exit status.
int RunTransfer(const CliRequest& request, std::istream& input);

}  // namespace torvanik::cli
