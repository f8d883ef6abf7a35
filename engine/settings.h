#pragma once

#include <string>

// The two-byte settings file: the chosen drive and a spare byte.
namespace torvanik {

// Loads driveIndex and spareSetting; a missing or malformed file leaves the defaults.
void LoadSettings();
void SaveSettings();

// The same, on a file of the caller's choosing.
void LoadSettingsFrom(const std::string& path);
void SaveSettingsTo(const std::string& path);

}  // namespace torvanik
