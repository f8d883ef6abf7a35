#pragma once

#include <string>

// The private folders an image step unpacks its disk into: under $XDG_RUNTIME_DIR, else
// $TMPDIR, else /tmp, each named for the process that made it
// ("torvanik-disk-PID-START-XXXXXX"), so that a killed program's can be told from a
// running one's.
namespace torvanik {

// A new private folder; empty, with errno, when none can be made.
std::string MakeImageFolder();

// Removes this user's private folders whose process is gone, such as a killed step's.
// Each program calls it once as it starts.
void RemoveDeadImageFolders();

}  // namespace torvanik
