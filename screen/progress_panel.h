#pragma once

#include "platform/canvas.h"

namespace torvanik {

// The panel with its frames firstFrame..2 and its texts; the free-space line when
// showFree > 0. Drawing the bar frames wipes both bars.
void DrawProgressPanel(Canvas& canvas, int showFree, int firstFrame);

// Bar `which` (0 this disk, 1 whole file) of `length` pixels; nothing drawn when
// length <= 0, but the length is recorded either way.
void DrawBar(Canvas& canvas, int length, int which);

}  // namespace torvanik
