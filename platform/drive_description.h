#pragma once

#include <string>

#include "platform/drive_map.h"
#include "platform/file_system.h"

// What a drive letter stands for, said to the user (UTF-8).
namespace torvanik {

// "A: = /media/ola/FLOPPY, 1 423 kB ledig", or why the drive holds no disk now.
std::string DescribeDrive(const DriveMap& map, FileSystem& files, int index);

// What drive `index` finds now, without its letter: "/media/ola/FLOPPY, 1 423 kB ledig",
// or why it holds no disk.
std::string DescribeDriveContents(const DriveMap& map, FileSystem& files, int index);

// What a drive stands for, written as --drive takes it: "media", "images:/srv/bilder,format=1.44m",
// "/tmp/disk,capacity=1000000"; the second removable disk as "flyttbar disk nr. 2".
std::string DescribeTarget(const DriveMapping& mapping);

// "Stasjon A: er mappen /tmp/floppy-a" for each drive that is a folder; empty when none is.
std::string FolderDrivesNote(const DriveMap& map);

}  // namespace torvanik
