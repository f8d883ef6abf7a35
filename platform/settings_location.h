#pragma once

#include <string>

// Where the program keeps its configuration: $XDG_CONFIG_HOME/torvanik, by default
// ~/.config/torvanik. Never a shared folder such as /tmp.
namespace torvanik {

std::string ConfigFolder();
std::string SettingsFilePath();  // the two-byte drive setting, Torvanik.hsk
std::string DrivesFilePath();    // the drive map, "drives"

}  // namespace torvanik
