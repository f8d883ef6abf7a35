#pragma once

class QCoreApplication;

namespace torvanik {

// Installs Qt's own Norwegian texts (the pickers, the buttons of the toolkit's questions)
// when a translation is installed on this machine: Bokmål if there is one, else Nynorsk.
// Returns whether one was installed.
bool InstallNorwegianQtTranslation(QCoreApplication& app);

}  // namespace torvanik
