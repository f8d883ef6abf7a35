#pragma once

#include <string>

#include "platform/result.h"

// How the system's errors become reasons: the only place that reads errno.
namespace torvanik {

// The failure of a system call that just left errno, as it is: no reason yet, its error.
Why SystemFailure();

// The reason for a call that failed with `error`: a full or read-only medium and a drive
// in use are told as such; a link where none may be as `notRegular`; anything else as
// `otherwise`, with the error's text.
Why WhyFromError(int error, Reason otherwise, Reason notRegular = Reason::kNone);
// The same for a failed call's Why, as the file system gives it.
Why WhyOfFailure(const Why& failure, Reason otherwise, Reason notRegular = Reason::kNone);

// `result`, with its failure told as WhyOfFailure tells it.
Result<void> Told(Result<void> result, Reason otherwise);

// What a failed call's Why, as the system gave it, says of the call; a Why told already
// says none of it. The medium refused more room: it is full, a quota is reached, or the
// file is as large as the medium's files may be.
bool IsOutOfSpace(const Why& failure);
// Something already stands under the name.
bool AlreadyThere(const Why& failure);
// Nothing stands under the name.
bool NotThere(const Why& failure);

// The system's text of `error`.
std::string SystemTextOf(int error);

}  // namespace torvanik
