#pragma once

#include <string>

#include "platform/drive_map.h"

// What is in a drive now, as far as the terminal needs to tell one disk from another.
namespace torvanik::cli {

// Where drive `index` leads for disk `diskNumber` and what lies at the top of that disk
// (each file's name, size and modification time); equal texts mean an unchanged disk.
std::string DiskFingerprint(const DriveMap& drives, int index, int diskNumber);

// The file system mounted as drive `index` now, told apart from any other mounted there
// before or after; empty when no disk is in.
std::string MountedDisk(const DriveMap& drives, int index);

}  // namespace torvanik::cli
