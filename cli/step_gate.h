#pragma once

#include <istream>
#include <optional>
#include <string>

#include "cli/command_line.h"
#include "cli/klar_prompt.h"
#include "engine/drive_choice.h"
#include "engine/stop_token.h"
#include "platform/drive_map.h"

namespace torvanik::cli {

// What lets each disk step start: an Enter at [KLAR], nothing at all with --batch, or
// with --auto another disk mounted in place of the one the step before had.
class StepGate {
  public:
    StepGate(const CliRequest& request, std::istream& input, const DriveMap& drives,
             const DriveChoice& drive, const StopToken& stop);

    // Waits until the step for disk `number` (of the parity disks with `parityDisk`) may
    // start, or the user goes on without the disk; kStop when the user stops, or a stop
    // was requested.
    KlarAnswer Open(int number, bool parityDisk = false);

  private:
    // Also keeps the disk in the drive as the step's.
    KlarAnswer AwaitDiskOrLine(int number, bool parityDisk);
    // The answer of a whole line typed (the end of the input stops), if any came within
    // `timeoutMs`.
    std::optional<KlarAnswer> PollLine(int timeoutMs);

    bool batch_;
    bool automatic_;
    std::istream& input_;
    const DriveMap& drives_;
    const DriveChoice& drive_;
    const StopToken& stop_;
    std::string typed_;     // what came of standard input after the last whole line
    std::string lastDisk_;  // the disk in the drive when the last step started
};

// Why --auto can't be used with the chosen drive, if it can't.
std::optional<std::string> AutoRefusal(const CliRequest& request, const DriveMap& drives,
                                       const DriveChoice& drive);

}  // namespace torvanik::cli
