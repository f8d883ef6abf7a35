#pragma once

#include <string>
#include <vector>

#include "platform/drive_map.h"

// The program's own options: --drive X:=TARGET[,capacity=N] (repeatable), --no-eject,
// --no-verify, --no-sums, -h/--help, -V/--version.
namespace torvanik {

struct CommandLine {
    enum class Action { kRun, kHelp, kVersion, kError };
    Action action = Action::kRun;
    std::vector<std::string> driveOptions;
    bool noEject = false;
    bool noVerify = false;  // the disks are not read back after their steps
    bool noSums = false;    // no check files are written, nor checked at the join
    std::string error;
};

// `arguments` without the program's name. With `toolkitOptions`, the toolkit's own options
// (-platform NAME, -style NAME, -reverse, ...) are passed over, so that ours are checked
// before the toolkit starts; without, the toolkit has already taken its own.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             bool toolkitOptions = false);

// The texts of --help and --version (UTF-8).
const char* UsageText();
const char* VersionText();

}  // namespace torvanik
