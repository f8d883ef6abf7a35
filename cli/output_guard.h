#pragma once

#include <string_view>

namespace torvanik::cli {

// Writes `text` on standard output at once, for a reader that waits for it.
void Print(std::string_view text);

// `status`, unless standard output failed to take something printed on it (a full disk,
// a reader gone): then that is said on standard error, and a run that would have
// finished ends as stopped.
int CheckedOutput(int status);

}  // namespace torvanik::cli
