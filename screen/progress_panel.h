#pragma once

#include <string>

#include "canvas/canvas.h"
#include "screen/screen_record.h"

namespace torvanik {

// The panel's texts as it shows them, Windows-1252; the free space is empty unless shown.
struct PanelLines {
    std::string diskProgress;  // labels bar 0
    std::string freeSpace;
    std::string totalProgress;  // labels bar 1
    std::string fileLength;
};

PanelLines PanelLinesOf(const ScreenRecord& record, bool showFree);

// The panel with its frames firstFrame..2 and its texts; the free-space line with
// `showFree`. Drawing the bar frames wipes both bars.
void DrawProgressPanel(Canvas& canvas, ScreenRecord& record, bool showFree, int firstFrame);

// Bar `which` (0 this disk, 1 whole file) of `length` pixels; nothing drawn when
// length <= 0, but the length is recorded either way.
void DrawBar(Canvas& canvas, ScreenRecord& record, int length, int which);

}  // namespace torvanik
