#pragma once

#include <vector>

#include "platform/drive_map.h"
#include "platform/drive_system.h"
#include "platform/mount_table.h"

// The disk of a media:, device: or removable drive: the file system mounted for it now.
namespace torvanik {

// The disk mounted where the mapping says, as found in `mounts` now.
DiskInDrive FindMountedDisk(const DriveMapping& drive, const DriveSystem& system,
                            const std::vector<MountEntry>& mounts);

}  // namespace torvanik
