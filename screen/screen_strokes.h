#pragma once

#include "canvas/canvas.h"

// The strokes the fixed picture is built from.
namespace torvanik {

// ScreenLines[index] in `colour`, `shift` pixels left of and below its point (a shadow
// with 1, the text itself with 0).
void DrawScreenLine(Canvas& canvas, int index, int shift, Colour colour);

// Row y, x 0 to 499, in (low 8 bits of y, green, blue).
void DrawGradientLine(Canvas& canvas, int y, int green, int blue);

// The outline of a rectangle along its path, not filled.
void DrawOutlineRect(Canvas& canvas, int left, int top, int right, int bottom, int width,
                     Colour colour);

}  // namespace torvanik
