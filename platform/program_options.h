#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

// The command line of both programs, read by getopt_long: --name=value and --name value,
// unambiguous abbreviations of long names, options and operands in any order, and "--"
// ending the options. -h/--help and -V/--version are every program's.
namespace torvanik {

struct ProgramOption {
    std::string_view name;  // the long name, without its dashes
    bool takesValue = false;
    // Its value may be left out, and is then empty; given, it is "--name=value" only.
    bool valueOptional = false;
};

struct GivenOption {
    std::string_view name;  // the long name, as in the table
    std::string value;
};

struct ProgramArguments {
    enum class Request { kRun, kHelp, kVersion };
    Request request = Request::kRun;
    std::vector<GivenOption> options;   // in the order given
    std::vector<std::string> operands;  // what is not an option, in the order given
};

// `arguments` without the program's name. Reading stops at the first help, version or
// mistake; a mistake is told in Norwegian words of its own (UTF-8).
Result<ProgramArguments> ParseProgramArguments(std::span<const ProgramOption> options,
                                               const std::vector<std::string>& arguments);

}  // namespace torvanik
