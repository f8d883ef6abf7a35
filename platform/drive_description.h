#pragma once

#include <string>

#include "platform/drive_map.h"
#include "platform/file_system.h"

// What a drive letter stands for, said to the user (UTF-8).
namespace torvanik {

// "A: = /media/ola/FLOPPY, 1 423 kB ledig", or why the drive holds no disk now.
std::string DescribeDrive(const DriveMap& map, FileSystem& files, int index);

// "Stasjon A: er mappen /tmp/floppy-a" for each drive that is a folder; empty when none is.
std::string FolderDrivesNote(const DriveMap& map);

}  // namespace torvanik
