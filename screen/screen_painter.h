#pragma once

#include "canvas/canvas.h"
#include "screen/help_box.h"
#include "screen/screen_record.h"

namespace torvanik {

// Paints the whole picture from the screen's record alone, and leaves the canvas in
// transparent mode for good.
void DrawScreen(Canvas& canvas, ScreenRecord& record);

}  // namespace torvanik
