#pragma once

namespace torvanik::cli {

// `status`, unless standard output failed to take something printed on it (a full disk,
// a reader gone): then that is said on standard error, and a run that would have
// finished ends as stopped.
int CheckedOutput(int status);

}  // namespace torvanik::cli
