#pragma once

#include "platform/canvas.h"

namespace torvanik {

// Paints the whole picture from the transfer state alone.
void DrawScreen(Canvas& canvas);

// The help box, over whatever is there.
void DrawHelpBox(Canvas& canvas);

}  // namespace torvanik
