#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "platform/cp1252.h"

namespace torvanik {

// A line of Windows-1252 text and the top-left corner of its first character cell.
struct TextLine {
    std::string_view text;
    int x;
    int y;
};

// The top-left corner of a painted text's first character cell.
struct TextCorner {
    int x;
    int y;
};

// Each of `texts` paired with the corner of the same index.
template <std::size_t Width, std::size_t Count>
constexpr std::array<TextLine, Count> PaintedLines(const Cp1252Texts<Width, Count>& texts,
                                                   const std::array<TextCorner, Count>& corners) {
    std::array<TextLine, Count> lines{};
    for (std::size_t i = 0; i < Count; ++i) {
        lines[i] = {texts[i], corners[i].x, corners[i].y};
    }
    return lines;
}

}  // namespace torvanik
