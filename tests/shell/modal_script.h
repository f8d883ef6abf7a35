#pragma once

#include <functional>

class QWidget;

namespace torvanik::testing {

// Runs `script` on the topmost modal window as soon as one is shown and active, and is of
// `className` when that is given: call it just before the code that opens the window.
// Fails the test when no such window opens, or when the window is still open a while after
// the script (it is then closed).
void WhenModalShown(std::function<void(QWidget& modal)> script, const char* className = nullptr);

}  // namespace torvanik::testing
