#pragma once

#include <cstdio>
#include <istream>

namespace torvanik::cli {

// Prints the KLAR prompt on `out` and reads one line of `in`: true for KLAR (any line but
// "q"), false for "q" or the end of the input.
bool AwaitKlar(std::istream& in, std::FILE* out);

}  // namespace torvanik::cli
