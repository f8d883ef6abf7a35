#pragma once

#include <cstdio>
#include <istream>
#include <string_view>

namespace torvanik::cli {

// What a line typed at a prompt asks for: the step ("KLAR", any other line), to go on
// without the disk ("s"), or to stop ("q", or the end of the input).
enum class KlarAnswer { kReady, kSkip, kStop };

// Prints the KLAR prompt on `out` and reads one line of `in`.
KlarAnswer AwaitKlar(std::istream& in, std::FILE* out);

// The answer a typed line gives, with or without a carriage return.
KlarAnswer AnswerOf(std::string_view line);

}  // namespace torvanik::cli
