#pragma once

#include <span>

// The toolbar: its slots, and one bitmap that holds the six button images side by side.
namespace torvanik {

inline constexpr int kToolbarButtonWidth = 70;
inline constexpr int kToolbarButtonHeight = 50;

// Command ids in slot order; ID_SEPARATOR marks the gap.
std::span<const int> ToolbarSlots();

// The 420 x 50 bitmap (XPM data) and the icon images, 32 x 32 and 16 x 16.
const char* const* ToolbarBitmap();
const char* const* LargeIcon();
const char* const* SmallIcon();

}  // namespace torvanik
