#pragma once

#include "canvas/canvas.h"
#include "screen/screen_record.h"

namespace torvanik {

// The panel with its frames firstFrame..2 and its texts; the free-space line with
// `showFree`. Drawing the bar frames wipes both bars.
void DrawProgressPanel(Canvas& canvas, ScreenRecord& record, bool showFree, int firstFrame);

// Bar `which` (0 this disk, 1 whole file) of `length` pixels; nothing drawn when
// length <= 0, but the length is recorded either way.
void DrawBar(Canvas& canvas, ScreenRecord& record, int length, int which);

}  // namespace torvanik
