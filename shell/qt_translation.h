#pragma once

class QCoreApplication;

namespace torvanik {

// Installs Qt's own texts (the pickers, the buttons of the toolkit's questions) in Bokmål:
// the program's own translation, over Qt's Norwegian one where this machine has one, which
// covers what ours leaves out. Returns whether the program's own was installed.
bool InstallNorwegianQtTranslation(QCoreApplication& app);

}  // namespace torvanik
