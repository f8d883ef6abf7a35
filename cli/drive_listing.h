#pragma once

#include <string>

#include "cli/command_line.h"
#include "platform/drive_map.h"
#include "platform/file_system.h"

namespace torvanik::cli {

// One line for each drive letter of `drives`, with what it stands for and what it finds
// now: "A: media → /media/ola/FLOPPY, 1 423 kB ledig".
std::string DriveListing(const DriveMap& drives, FileSystem& files);

// The drives verb: prints the listing of the drive map in force; returns the exit status.
int ListDrives(const CliRequest& request);

}  // namespace torvanik::cli
