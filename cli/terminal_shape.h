#pragma once

#include <cstdio>

namespace torvanik::cli {

// What the progress line may count on from the terminal it is drawn on.
struct TerminalShape {
    int columns = 80;
    bool erasesLines = true;  // understands "\x1b[K", erase to the end of the line
};

// The terminal behind `stream`: its width as the terminal reports it, else COLUMNS, else 80
// columns; a TERM that is unset or "dumb" understands no control sequences.
TerminalShape ShapeOf(std::FILE* stream);

}  // namespace torvanik::cli
