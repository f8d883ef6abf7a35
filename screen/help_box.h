#pragma once

#include "canvas/canvas.h"

namespace torvanik {

// The help box, over whatever is there.
void DrawHelpBox(Canvas& canvas);

}  // namespace torvanik
