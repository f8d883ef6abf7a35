#pragma once

#include <string>
#include <vector>

#include "canvas/canvas.h"
#include "screen/screen_record.h"

namespace torvanik {

// A line of the notice box as it stands: Windows-1252 text and where it is drawn.
struct NoticeLine {
    std::string text;
    int x;
    int y;
};

// The notice's lines, the first with its number appended when it is 0 or more.
std::vector<NoticeLine> NoticeLinesOf(const Notice& notice);

// Draws the notice's lines in the notice box (frames `box` and box + 1), the first with
// the number appended when it is 0 or more; records it as the last notice.
void ShowNotice(Canvas& canvas, ScreenRecord& record, const Notice& notice);

}  // namespace torvanik
