#pragma once

#include <QStringList>
#include <functional>

class QFileDialog;

namespace torvanik {

// Removes the files (and empty folders) at `paths`; the names of those it could not remove.
using FileRemover = std::function<QStringList(const QStringList& paths)>;

// The removal on the calling thread.
QStringList RemoveFiles(const QStringList& paths);

// Makes the toolkit's picker work as the clean-up picker's title and the help box say: a
// drag with the right mouse button frames files (a rubber band, from any corner), a right
// click without a drag opens the picker's context menu, and its "Slett" deletes every
// selected file after one question, through `remove`.
void ExtendCleanUpPicker(QFileDialog& picker, FileRemover remove);

}  // namespace torvanik
