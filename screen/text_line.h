#pragma once

#include <string_view>

namespace torvanik {

// A line of Windows-1252 text and the top-left corner of its first character cell.
struct TextLine {
    std::string_view text;
    int x;
    int y;
};

}  // namespace torvanik
