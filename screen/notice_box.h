#pragma once

#include "canvas/canvas.h"
#include "screen/screen_record.h"

namespace torvanik {

// Draws the notice's lines in the notice box (frames `box` and box + 1), the first with
// the number appended when it is 0 or more; records it as the last notice.
void ShowNotice(Canvas& canvas, ScreenRecord& record, const Notice& notice);

}  // namespace torvanik
