#pragma once

class QAction;
class QToolBar;
class QWidget;

namespace torvanik {

// Binds the key of `command`'s verb to its action, for the whole of `window` (so that it
// works with the toolbar hidden too), and names the key in the action's tooltip.
void GiveKey(QWidget& window, QAction& action, int command);

// Lets the keyboard reach the toolbar's buttons (Tab and Shift+Tab, from the view on) and
// names the toolbar and its button for the buttons a narrow window has no room for.
void OpenToKeyboard(QToolBar& bar);

}  // namespace torvanik
