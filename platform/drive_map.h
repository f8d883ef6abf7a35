#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/drive_system.h"
#include "platform/floppy_formats.h"
#include "platform/result.h"

// Drive letters of the program ("A:" to "R:") stand for the disk in a drive of this
// machine, or for a folder.
namespace torvanik {

inline constexpr int kDriveLetters = 18;

enum class DriveKind {
    Folder,         // `directory` itself
    Media,          // the one disk mounted in `directory`, or in the desktop's automount folder
    Device,         // the block device `device`, wherever it is mounted
    RemovableDisk,  // the `order`th disk with a removable medium, wherever it is mounted
    Images,         // a stack of floppy images in `directory`, disk N being image N
};

struct DriveMapping {
    std::string directory;
    // When set, the drive reports no more free space than this, less what the files
    // directly in the folder take in whole clusters (512 bytes, or an image's own).
    std::optional<std::uint64_t> capacity;
    DriveKind kind = DriveKind::Folder;
    std::string device = {};
    int order = 0;
    // The floppies an images: drive makes where it finds no image.
    const FloppyFormat* format = kDefaultFloppyFormat;
};

// The most parity disks a split writes.
inline constexpr int kMaxParityDisks = 9;

// Settings of the drives file that hold for every drive.
struct DriveSettings {
    bool eject = true;  // let a removable disk go after its step
    // Read every disk back from the medium and compare it before the next one is asked for.
    bool readBack = true;
    // Write a check file beside every chunk, and check every chunk against it at the join.
    bool checkFile = true;
    // Parity disks written after the last data disk of a split (0: none).
    int parityDisks = 0;
};

// The disk in a drive as found at one moment, for one disk step (or one picker).
struct DiskInDrive {
    std::string folder;  // where the disk's files are; empty when no disk is in
    std::optional<std::uint64_t> capacity;
    std::string whyNone = {};  // said beside the "insert disk" notice when no disk is in
    // Whatever the drive set up for this step (a folder of an image's files, say), kept
    // alive as long as the step holds the disk.
    std::shared_ptr<const void> hold = {};
    // The block device of a removable disk, let go once its step is done; empty otherwise.
    std::string device = {};
    DriveKind kind = DriveKind::Folder;  // of the drive it was found in
    // Another program holds the disk now (writing to the image folder); `whyNone` says so.
    bool inUse = false;
    // The medium's allocation unit, in which each file's size counts against `capacity`.
    std::uint64_t clusterBytes = 512;
};

enum class DiskUse { Read, Write };

class DriveMap {
  public:
    // What drive `index` holds now, for the step that handles disk `diskNumber`.
    DiskInDrive Resolve(int index, int diskNumber, DiskUse use) const;
    // Called once a write step has committed its files in disk.folder, and once a read
    // step is done with the disk. Fails when the disk did not take the files; success may
    // still carry words worth telling the user (why the disk was not let go), else none.
    Result<std::string> Finish(const DiskInDrive& disk) const;
    // Called when the clean-up picker on `disk` has closed: what was deleted in its folder
    // is deleted on the disk itself.
    Result<void> CarryDeletions(const DiskInDrive& disk) const;

    // The file system mounted as drive `index` now, told apart from every other: by its
    // UUID or serial number where the system names one, so that the same disk mounted
    // elsewhere is the same; else by its device, its mount and its root folder together, so
    // that a new disk in the same drive is another. Empty when no disk is in.
    std::string DiskIdentity(int index) const;

    void Set(int index, DriveMapping mapping);
    const DriveMapping* Find(int index) const;
    // Letters this map lacks are taken from `fallback`.
    void FillFrom(const DriveMap& fallback);
    bool empty() const;

    DriveSettings& settings() { return settings_; }
    const DriveSettings& settings() const { return settings_; }
    // Where mounts, devices and UDisks2 are looked up; the host's unless a test says.
    void UseSystem(std::shared_ptr<DriveSystem> system) { system_ = std::move(system); }

  private:
    std::array<std::optional<DriveMapping>, kDriveLetters> drives_;
    DriveSettings settings_;
    std::shared_ptr<DriveSystem> system_ = HostDriveSystem();
};

// "A:" or "a:" (or just "A") to 0, ...; -1 when it names no drive.
int DriveIndexOf(std::string_view letter);

// A Windows-1252 path built from a drive root ("A:bilde_bmp_1", "A:\INFO.FIL") inside the
// disk's folder as a host path in UTF-8, '\' read as '/'. Empty when no disk is in.
std::string DiskPath(const DiskInDrive& disk, std::string_view drivePath);

}  // namespace torvanik
