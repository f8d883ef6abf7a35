#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/drive_map.h"
#include "platform/result.h"

// The drive map as the user gives it: --drive options and the drives file. A mistake is
// told in Norwegian words of its own.
namespace torvanik {

// "TARGET[,capacity=N][,format=F]", TARGET being `media`, `media:DIR`, `device:PATH`,
// `images:DIR` or a folder, F one of kFloppyFormats (images: only).
Result<DriveMapping> ParseDriveTarget(std::string_view text);

// Parses "X:=TARGET[,capacity=N][,format=F]" into `map`.
Result<void> ParseDriveOption(std::string_view text, DriveMap& map);

// Reads lines "X: TARGET[,capacity=N][,format=F]" and settings such as "eject no"; blank
// lines and lines starting with '#' are skipped. A missing file gives an empty map.
Result<DriveMap> LoadDrivesFile(const std::string& path);

// A: is the disk in the drive (media), B: the second disk with a removable medium.
DriveMap DefaultDriveMap();

// The map in force: command-line options, then the drives file, then the defaults.
Result<DriveMap> BuildDriveMap(const std::vector<std::string>& options,
                               const std::string& drivesFile);

}  // namespace torvanik
