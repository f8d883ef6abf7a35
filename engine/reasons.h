#pragma once

#include <initializer_list>

#include <string>

#include "platform/result.h"
#include "platform/why_of_error.h"

// Why a step failed, said in one line beside the notice.
namespace torvanik {

// A reason whose text names disk `disk`.
Why DiskWhy(Reason reason, int disk);
// The reason's text with each "%d" in turn filled with the next of `numbers`.
Why NumbersWhy(Reason reason, std::initializer_list<int> numbers);

// The line shown: the reason's text, then the system's text of the error, if any.
std::string ReasonLine(const Why& why);

}  // namespace torvanik
