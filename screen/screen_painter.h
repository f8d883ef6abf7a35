#pragma once

#include "platform/canvas.h"
#include "screen/help_box.h"

namespace torvanik {

// Paints the whole picture from the transfer state alone, and leaves the canvas in
// transparent mode for good.
void DrawScreen(Canvas& canvas);

}  // namespace torvanik
