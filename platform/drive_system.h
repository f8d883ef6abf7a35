#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/child_process.h"
#include "platform/mount_table.h"

// What the drive map asks of the machine: what is mounted, where the desktop mounts an
// inserted disk, which block devices there are, and UDisks2 to let a disk go. Tests give
// their own answers.
namespace torvanik {

class DriveSystem {
  public:
    // udisksctl is stopped when it has not answered within `childLimit`.
    explicit DriveSystem(std::chrono::milliseconds childLimit = kChildTimeLimit)
        : childLimit_(childLimit) {}
    virtual ~DriveSystem() = default;

    // The text of /proc/self/mountinfo.
    virtual std::string MountInfo() const;
    // Where the desktop mounts inserted disks: /run/media/USER on some systems,
    // /media/USER on others.
    virtual std::vector<std::string> AutomountFolders() const;
    // The block device at `path` (a link such as /dev/disk/by-id/... is followed) and its
    // partitions; empty when `path` is no block device.
    virtual std::vector<DeviceNumber> DeviceAndPartitions(const std::string& path) const;
    // The UUID (or a FAT disk's serial number) of the file system on `device`, as the system
    // names it in /dev/disk/by-uuid; empty when it names none.
    virtual std::string FileSystemUuid(DeviceNumber device) const;
    // Each disk that reports a removable medium, with its partitions, in device order.
    virtual std::vector<std::vector<DeviceNumber>> RemovableDisks() const;
    // Whether the disk of `device` is a drive whose medium comes out (floppy, card reader):
    // powering it off would leave the next disk unseen until the drive is plugged in again.
    virtual bool MediumComesOut(const std::string& device) const;
    enum class Udisks { kReady, kNotInstalled, kNoSystemBus };
    // Whether UDisks2 can be asked: its client is installed and the system bus is there.
    virtual Udisks UdisksState() const;
    // Runs `udisksctl ARGUMENTS`; Succeeded when it did what was asked.
    virtual Result<ChildOutput> RunUdisks(const std::vector<std::string>& arguments) const;

  private:
    std::chrono::milliseconds childLimit_;
};

std::shared_ptr<DriveSystem> HostDriveSystem();

}  // namespace torvanik
