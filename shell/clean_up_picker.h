#pragma once

class QFileDialog;

namespace torvanik {

// Makes the toolkit's picker work as the clean-up picker's title and the help box say: a
// drag with the right mouse button frames files (a rubber band, from any corner), a right
// click without a drag opens the picker's context menu, and its "Slett" deletes every
// selected file after one question.
void ExtendCleanUpPicker(QFileDialog& picker);

}  // namespace torvanik
