#pragma once

#include <cerrno>
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

// Runs a program as a child process, without a shell, and collects what it prints.
namespace torvanik {

// How long a child may take: udisksctl and mtools answer within seconds, and one that
// hangs on a drive that does not answer must not hold a step for ever.
inline constexpr std::chrono::milliseconds kChildTimeLimit{30'000};

// What a child that ran printed, and how it ended.
struct ChildOutput {
    int status = 0;  // its exit status; 128 and the signal's number when a signal ended it
    std::string output;
    std::string errors;
};

// `argv[0]` is looked up in PATH; `environment` entries ("NAME=value") are added to ours,
// replacing any of the same name. Standard input is /dev/null. A child still running
// after `limit` is killed with every process it started. No output when it could not run:
// the program is not installed (NotInstalled), it was stopped at the time limit (the
// first line of the Why's text says so, what it printed on its error output follows), or
// it could not be started or waited for (the Why's text is the system's, if any).
Result<ChildOutput> RunChild(const std::vector<std::string>& argv,
                             const std::vector<std::string>& environment = {},
                             std::chrono::milliseconds limit = kChildTimeLimit);

// The child ran and exited with status 0.
inline bool Succeeded(const Result<ChildOutput>& run) {
    return run && run->status == 0;
}

// The program is in none of PATH's folders.
inline bool NotInstalled(const Why& why) {
    return why.error == ENOENT;
}

// What a child complained of: its error output, or why it could not run.
inline const std::string& ComplaintOf(const Result<ChildOutput>& run) {
    return run ? run->errors : run.why().text;
}

// Whether `program` is an executable file in one of PATH's folders.
bool OnPath(std::string_view program);

}  // namespace torvanik
