#pragma once

#include <string>

#include "platform/result.h"

// Standard input read as it comes, never waited on for longer than asked.
namespace torvanik {

// Waits up to `timeoutMs` for standard input and takes what it holds: the bytes, or none
// when nothing came in time or a signal broke the wait; why not once the input ended (a
// Why that says nothing) or failed.
Result<std::string> TakeTypedInput(int timeoutMs);

// Waits `timeoutMs`, or less when a signal comes.
void PauseFor(int timeoutMs);

}  // namespace torvanik
