#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Drive letters of the program ("A:" to "R:") stand for folders on this machine.
namespace torvanik {

inline constexpr int kDriveLetters = 18;

struct DriveMapping {
    std::string directory;
    // When set, the drive reports no more free space than this, less what the files
    // directly in the folder take in whole 512-byte clusters.
    std::optional<std::uint64_t> capacity;
};

class DriveMap {
  public:
    void Set(int index, DriveMapping mapping);
    const DriveMapping* Find(int index) const;
    // Letters this map lacks are taken from `fallback`.
    void FillFrom(const DriveMap& fallback);
    bool empty() const;

  private:
    std::array<std::optional<DriveMapping>, kDriveLetters> drives_;
};

// "A:" or "a:" (or just "A") to 0, ...; -1 when it names no drive.
int DriveIndexOf(std::string_view letter);

// Parses "X:=DIR[,capacity=N]" into `map`. On failure returns false and leaves a
// Norwegian message in `error`.
bool ParseDriveOption(std::string_view text, DriveMap& map, std::string& error);

// Reads lines "X: DIR[,capacity=N]"; blank lines and lines starting with '#' are skipped.
// A missing file gives an empty map and true; a malformed line gives false and `error`.
bool LoadDrivesFile(const std::string& path, DriveMap& map, std::string& error);

// A: -> /media/floppy0, B: -> /media/floppy1.
DriveMap DefaultDriveMap();

// The map in force: command-line options, then the drives file, then the defaults.
bool BuildDriveMap(const std::vector<std::string>& options, const std::string& drivesFile,
                   DriveMap& map, std::string& error);

// A Windows-1252 path built from a drive root ("A:bilde_bmp_1", "A:\INFO.FIL") as a host
// path in UTF-8: the drive's folder plus the rest, '\' read as '/'. None when unmapped.
std::optional<std::string> ResolveDrivePath(const DriveMap& map, std::string_view path);

}  // namespace torvanik
