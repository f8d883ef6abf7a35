#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/result.h"

// Why a step failed, said in one line beside the notice.
namespace torvanik {

// The reason for a failed call that left errno: a full or read-only medium and a drive in
// use are told as such; something other than a regular file (or a
// link where none may be) as `notRegular`; anything else as `otherwise`, with errno's text.
Why WhyFromErrno(Reason otherwise, Reason notRegular = Reason::kNone);
// The same for an error taken when its call failed.
Why WhyFromError(int error, Reason otherwise, Reason notRegular = Reason::kNone);
// Why `opened` holds no file: something other than a regular file as `notRegular`, else as
// WhyFromError.
Why WhyNotOpened(const OpenedFile& opened, Reason otherwise, Reason notRegular);

// A reason whose text names disk `disk`.
Why DiskWhy(Reason reason, int disk);

// The line shown: the reason's text, then the system's text of the error, if any.
std::string ReasonLine(const Why& why);

}  // namespace torvanik
