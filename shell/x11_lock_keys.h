#pragma once

// Whether the X keyboard extension reports the named indicator ("Caps Lock") as on;
// false when the program doesn't run on X11.
namespace torvanik {

bool X11IndicatorOn(const char* xkbName);

}  // namespace torvanik
