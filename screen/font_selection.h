#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "canvas/canvas.h"

namespace torvanik {

// The font that was current before SelectFont; none when no font was made.
using PreviousFont = std::optional<std::shared_ptr<const Font>>;

// Makes a font of `face`, cell `height` and `weight` the canvas's font. When none can be
// made the canvas keeps its font and the result is none.
PreviousFont SelectFont(Canvas& canvas, int height, int weight, std::string_view face);

// Puts the previous font back, which releases the one SelectFont made.
void RestoreFont(Canvas& canvas, PreviousFont previous);

}  // namespace torvanik
