#pragma once

#include <array>

#include "canvas/colour.h"

// The framed rectangles of the progress panel and the notice box.
namespace torvanik {

struct FrameRect {
    int left;
    int top;
    int right;   // exclusive
    int bottom;  // exclusive
    int border;  // width of the inside-frame pen
    Colour colour;
};

inline constexpr std::array<FrameRect, 5> FrameRects = {{
    {15, 178, 485, 290, 2, {0, 255, 0}},  // outline of the progress panel
    {26, 206, 474, 231, 2, {0, 0, 187}},  // frame of bar 0 (this disk)
    {26, 256, 474, 281, 2, {0, 0, 187}},  // frame of bar 1 (whole transfer)
    {95, 85, 415, 170, 8, {0, 0, 187}},   // notice box, back plate
    {90, 80, 410, 165, 4, {255, 0, 0}},   // notice box, front
}};

inline constexpr int kLastPanelFrame = 2;

}  // namespace torvanik
