#pragma once

#include <string>
#include <vector>

#include "platform/drive_options.h"
#include "platform/result.h"

// The program's own options: --drive X:=TARGET[,capacity=N] (repeatable), --no-eject,
// --no-verify, --no-sums, -h/--help, -V/--version.
namespace torvanik {

// What the window program is asked to do: open the window on these drives, or say its usage
// or version.
struct WindowRequest {
    enum class Action { kRun, kHelp, kVersion };
    Action action = Action::kRun;
    DriveOptions drives;
};

// `arguments` without the program's name; a mistake in them (in Norwegian) in the Why's text.
// With `toolkitOptions`, the toolkit's own options (-platform NAME, -style NAME, -reverse, ...)
// are passed over, so that ours are checked before the toolkit starts; without, the toolkit
// has already taken its own.
Result<WindowRequest> ParseWindowRequest(const std::vector<std::string>& arguments,
                                         bool toolkitOptions = false);

// The texts of --help and --version (UTF-8).
const char* UsageText();
const char* VersionText();

}  // namespace torvanik
