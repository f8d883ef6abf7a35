#pragma once

#include "platform/canvas.h"

namespace torvanik {

// Draws notice lines firstLine.. in the notice box (frames `box` and box + 1), the first
// with `number` appended when it is 0 or more; records it as the last notice.
void ShowNotice(Canvas& canvas, int box, int firstLine, int lineCount, int number);

}  // namespace torvanik
