#pragma once

#include <string>
#include <string_view>
#include <vector>

// The file systems mounted on this machine, as /proc/self/mountinfo lists them.
namespace torvanik {

struct DeviceNumber {
    unsigned major = 0;
    unsigned minor = 0;
    bool operator==(const DeviceNumber&) const = default;
};

struct MountEntry {
    unsigned id = 0;  // the kernel's number for this mount: a mount made anew has a new one
    DeviceNumber device;
    std::string root;        // the folder of the file system that is mounted
    std::string mountPoint;  // where it is mounted
    std::string source;      // "/dev/sdb1", "tmpfs", ...
};

// The lines of a mountinfo text, in order, with the kernel's octal escapes ("\040" for a
// space) undone. Lines that can't be read are left out.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// The file systems mounted directly in one of `folders` (a later mount on the same point
// hides an earlier one, so only the last is kept).
std::vector<MountEntry> MountsIn(const std::vector<MountEntry>& mounts,
                                 const std::vector<std::string>& folders);

// The mounts of any of `devices`, whole file systems only (no bind mounts of a folder).
std::vector<MountEntry> MountsOf(const std::vector<MountEntry>& mounts,
                                 const std::vector<DeviceNumber>& devices);

}  // namespace torvanik
