#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

// Runs a program as a child process, without a shell, and collects what it prints.
namespace torvanik {

// How long a child may take: udisksctl and mtools answer within seconds, and one that
// hangs on a drive that does not answer must not hold a step for ever.
inline constexpr std::chrono::milliseconds kChildTimeLimit{30'000};

struct ChildRun {
    int exitCode = -1;          // -1 when it could not be started or did not exit normally
    bool notInstalled = false;  // the program is in none of PATH's folders
    // It was stopped at the time limit; the first line of `errors` says so.
    bool timedOut = false;
    std::string output;
    std::string errors;
};

// `argv[0]` is looked up in PATH; `environment` entries ("NAME=value") are added to ours,
// replacing any of the same name. Standard input is /dev/null. A child still running
// after `limit` is killed with every process it started.
ChildRun RunChild(const std::vector<std::string>& argv,
                  const std::vector<std::string>& environment = {},
                  std::chrono::milliseconds limit = kChildTimeLimit);

// Whether `program` is an executable file in one of PATH's folders.
bool OnPath(std::string_view program);

}  // namespace torvanik
