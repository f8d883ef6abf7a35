#pragma once

#include <string>

// Where the program keeps its configuration, $XDG_CONFIG_HOME/torvanik (by default
// ~/.config/torvanik), and the state of its transfers, $XDG_STATE_HOME/torvanik (by default
// ~/.local/state/torvanik). Never a shared folder such as /tmp.
namespace torvanik {

std::string ConfigFolder();
std::string SettingsFilePath();  // the two-byte drive setting, Torvanik.hsk
std::string DrivesFilePath();    // the drive map, "drives"
std::string ParityFilePath();    // the window's parity disks, "parity"
std::string StateFolder();       // the records of transfers that can be continued
// Where work too large for memory is kept while it is made: $TMPDIR when it names an
// absolute folder, else /var/tmp.
std::string ScratchFolder();

}  // namespace torvanik
