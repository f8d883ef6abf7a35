#pragma once

#include <string>
#include <vector>

namespace torvanik {

// Whether the window will have somewhere to show, checked before the toolkit starts (it
// would end the program with a report of its own): a platform named by -platform or
// QT_QPA_PLATFORM is left to the toolkit; else an X display that opens, or a Wayland display
// whose socket is there. On a desktop with Wayland alone, the toolkit is told to use it.
bool FindDisplay(const std::vector<std::string>& arguments);

}  // namespace torvanik
