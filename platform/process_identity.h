#pragma once

#include <sys/types.h>

#include <cstdint>

#include "platform/result.h"

// A process told apart from a later one that was given the same pid, by its start time.
namespace torvanik {

// When process `pid` started, in clock ticks after boot (/proc/PID/stat). Fails with ENOENT
// when it is gone, EINVAL when /proc can't say.
Result<std::uint64_t> ProcessStartTime(pid_t pid);

// Whether the process `pid` that started at `startTime` still runs; a start time of 0
// (not known when it was taken) trusts the pid alone.
bool ProcessStillRuns(pid_t pid, std::uint64_t startTime);

}  // namespace torvanik
