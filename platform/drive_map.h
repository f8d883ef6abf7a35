#pragma once

#include <array>
#include <cstdint>
#include <memory>
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
    // "images:DIR": the folder holds a stack of floppy images, disk N being image N.
    bool images = false;
};

// The disk in a drive as found at one moment, for one disk step (or one picker).
struct DiskInDrive {
    std::string folder;  // where the disk's files are; empty when no disk is in
    std::optional<std::uint64_t> capacity;
    std::string whyNone;  // said beside the "insert disk" notice when no disk is in
    // Whatever the drive set up for this step (a folder of an image's files, say), kept
    // alive as long as the step holds the disk.
    std::shared_ptr<const void> hold;
};

enum class DiskUse { Read, Write };

class DriveMap {
  public:
    // What drive `index` holds now, for the step that handles disk `diskNumber`.
    DiskInDrive Resolve(int index, int diskNumber, DiskUse use) const;
    // Called once a write step has committed its files in disk.folder. False, with
    // `reason`, when the disk did not take them; a true result may still carry a reason
    // worth telling the user.
    bool Finish(const DiskInDrive& disk, std::string& reason) const;
    // Called when the clean-up picker on `disk` has closed: what was deleted in its folder
    // is deleted on the disk itself. False, with `reason`, when that failed.
    bool CarryDeletions(const DiskInDrive& disk, std::string& reason) const;

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

// Parses "X:=[images:]DIR[,capacity=N]" into `map`. On failure returns false and leaves a
// Norwegian message in `error`.
bool ParseDriveOption(std::string_view text, DriveMap& map, std::string& error);

// Reads lines "X: [images:]DIR[,capacity=N]"; blank lines and lines starting with '#' are skipped.
// A missing file gives an empty map and true; a malformed line gives false and `error`.
bool LoadDrivesFile(const std::string& path, DriveMap& map, std::string& error);

// A: -> /media/floppy0, B: -> /media/floppy1.
DriveMap DefaultDriveMap();

// The map in force: command-line options, then the drives file, then the defaults.
bool BuildDriveMap(const std::vector<std::string>& options, const std::string& drivesFile,
                   DriveMap& map, std::string& error);

// A Windows-1252 path built from a drive root ("A:bilde_bmp_1", "A:\INFO.FIL") inside the
// disk's folder as a host path in UTF-8, '\' read as '/'. Empty when no disk is in.
std::string DiskPath(const DiskInDrive& disk, std::string_view drivePath);

}  // namespace torvanik
