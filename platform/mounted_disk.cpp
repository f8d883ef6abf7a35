#include "platform/mounted_disk.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "res/texts/drive_texts.h"

namespace torvanik {
namespace {

// statx's unique mount number (Linux 6.8), which older headers do not name.
#ifdef STATX_MNT_ID_UNIQUE
constexpr unsigned kUniqueMountId = STATX_MNT_ID_UNIQUE;
#else
constexpr unsigned kUniqueMountId = 0x4000U;
#endif

// The mount at `folder` (the kernel's 64-bit number, never used again, where it has one;
// else the number of the mount table, which a later mount may take again) and the file
// system's root folder. The root's times are no part of it: writing to the disk moves them.
std::string MountAndRoot(const std::string& folder, unsigned tableId) {
    struct statx root {};
    if (statx(AT_FDCWD, folder.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | kUniqueMountId,
              &root) != 0) {
        return std::to_string(tableId) + " -";
    }
    const std::string mount = (root.stx_mask & kUniqueMountId) != 0
                                  ? "u" + std::to_string(root.stx_mnt_id)
                                  : std::to_string(tableId);
    return mount + " " + std::to_string(root.stx_dev_major) + ":" +
           std::to_string(root.stx_dev_minor) + ":" + std::to_string(root.stx_ino);
}

// The kernel lists mount points as absolute paths with no links in them.
std::string RealPath(const std::string& folder) {
    std::error_code error;
    const auto real = std::filesystem::weakly_canonical(folder, error);
    return error ? folder : real.string();
}

}  // namespace

DiskInDrive FindMountedDisk(const DriveMapping& drive, const DriveSystem& system,
                            const std::vector<MountEntry>& mounts) {
    std::vector<MountEntry> found;
    if (drive.kind == DriveKind::Media) {
        found = MountsIn(mounts, drive.directory.empty()
                                     ? system.AutomountFolders()
                                     : std::vector<std::string>{RealPath(drive.directory)});
        if (found.size() > 1) {
            return {{}, drive.capacity, std::string(drive_text::kTwoDisksIn), nullptr, {}};
        }
    } else if (drive.kind == DriveKind::Device) {
        found = MountsOf(mounts, system.DeviceAndPartitions(drive.device));
    } else if (drive.kind == DriveKind::RemovableDisk) {
        const auto disks = system.RemovableDisks();
        if (drive.order >= 1 && static_cast<std::size_t>(drive.order) <= disks.size()) {
            found = MountsOf(mounts, disks[static_cast<std::size_t>(drive.order - 1)]);
        }
    }
    if (found.empty()) {
        return {{}, drive.capacity, std::string(drive_text::kNoDiskIn), nullptr, {}};
    }
    const MountEntry& disk = found.front();
    // Only a block device can be let go; a tmpfs or the like stays as it is.
    return {disk.mountPoint,
            drive.capacity,
            {},
            nullptr,
            disk.source.starts_with("/dev/") ? disk.source : std::string()};
}

std::string DriveMap::DiskIdentity(int index) const {
    const DiskInDrive disk = Resolve(index, 1, DiskUse::Read);
    if (disk.folder.empty()) {
        return {};
    }
    const auto mounts = ParseMountInfo(system_->MountInfo());
    const auto entry = std::find_if(mounts.rbegin(), mounts.rend(), [&](const MountEntry& m) {
        return m.mountPoint == disk.folder;
    });
    if (entry == mounts.rend()) {
        return {};
    }
    if (const std::string uuid = system_->FileSystemUuid(entry->device); !uuid.empty()) {
        return "uuid " + uuid;
    }
    const std::string device =
        std::to_string(entry->device.major) + ":" + std::to_string(entry->device.minor);
    return "mount " + MountAndRoot(disk.folder, entry->id) + " " + device + " " + disk.folder;
}

}  // namespace torvanik
