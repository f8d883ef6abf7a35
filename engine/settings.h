#pragma once

#include <string>

#include "engine/drive_choice.h"

// The two-byte settings file: the chosen drive and a spare byte.
namespace torvanik {

// Loads the drive and the spare byte; a missing or malformed file leaves them as they are.
void LoadSettings(DriveChoice& choice);
void SaveSettings(const DriveChoice& choice);

// The same, on a file of the caller's choosing.
void LoadSettingsFrom(const std::string& path, DriveChoice& choice);
void SaveSettingsTo(const std::string& path, const DriveChoice& choice);

// The parity disks the window's splits write, kept in a file of one digit: `fallback` (the
// drives file's) until the user chose in the menu.
int LoadParityDisks(int fallback);
void SaveParityDisks(int disks);

}  // namespace torvanik
