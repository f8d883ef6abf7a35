#pragma once

#include <string>
#include <string_view>
#include <vector>

// Other programs of the system, started directly (no shell between) and waited for.
namespace torvanik {

// Runs `command` (the program, found on PATH, then its arguments) with no input and its
// output dropped; true when it ran and exited with status 0.
bool RunQuietly(const std::vector<std::string>& command);

// Whether `program` is an executable file in one of PATH's folders.
bool OnPath(std::string_view program);

}  // namespace torvanik
