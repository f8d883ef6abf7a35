#pragma once

#include "canvas/canvas.h"

namespace torvanik {

// Wipes FrameRects[index] white and borders it inside with `border` pixels of `colour`.
void DrawFrame(Canvas& canvas, int border, int index, Colour colour);

}  // namespace torvanik
