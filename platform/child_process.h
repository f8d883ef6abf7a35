#pragma once

#include <string>
#include <string_view>
#include <vector>

// Runs a program as a child process, without a shell, and collects what it prints.
namespace torvanik {

struct ChildRun {
    int exitCode = -1;          // -1 when it could not be started or did not exit normally
    bool notInstalled = false;  // the program is in none of PATH's folders
    std::string output;
    std::string errors;
};

// `argv[0]` is looked up in PATH; `environment` entries ("NAME=value") are added to ours,
// replacing any of the same name. Standard input is /dev/null.
ChildRun RunChild(const std::vector<std::string>& argv,
                  const std::vector<std::string>& environment = {});

// Whether `program` is an executable file in one of PATH's folders.
bool OnPath(std::string_view program);

}  // namespace torvanik
