#pragma once

#include <cstdio>
#include <istream>
#include <string_view>

namespace torvanik::cli {

// Prints the KLAR prompt on `out` and reads one line of `in`: true for KLAR (any line but
// "q"), false for "q" or the end of the input.
bool AwaitKlar(std::istream& in, std::FILE* out);

// A line typed at a prompt asks to stop: "q", with or without a carriage return.
bool IsStopAnswer(std::string_view line);

}  // namespace torvanik::cli
