#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/drive_system.h"

namespace torvanik::testing {

// A machine whose mounts, devices and UDisks2 a test makes up; the udisksctl calls are
// recorded.
class FakeDriveSystem : public DriveSystem {
  public:
    std::string mountInfo;
    std::vector<std::string> automountFolders{"/run/media/ola", "/media/ola"};
    std::map<std::string, std::vector<DeviceNumber>> devices;
    std::vector<std::vector<DeviceNumber>> removableDisks;
    bool mediumComesOut = false;
    bool udisks = true;
    std::string failingVerb;
    mutable std::vector<std::string> calls;

    std::string MountInfo() const override { return mountInfo; }
    std::vector<std::string> AutomountFolders() const override { return automountFolders; }
    std::vector<DeviceNumber> DeviceAndPartitions(const std::string& path) const override {
        const auto found = devices.find(path);
        return found == devices.end() ? std::vector<DeviceNumber>{} : found->second;
    }
    std::vector<std::vector<DeviceNumber>> RemovableDisks() const override {
        return removableDisks;
    }
    bool MediumComesOut(const std::string& /*device*/) const override { return mediumComesOut; }
    bool HasUdisks() const override { return udisks; }
    bool RunUdisks(const std::vector<std::string>& arguments) const override {
        std::string call;
        for (const auto& word : arguments) {
            call += (call.empty() ? "" : " ") + word;
        }
        calls.push_back(call);
        return arguments.front() != failingVerb;
    }
};

// One mountinfo line: "36 25 8:17 / /media/ola/FLOPPY rw shared:1 - vfat /dev/sdb1 rw".
inline std::string MountLine(const std::string& device, const std::string& mountPoint,
                             const std::string& source, const std::string& root = "/") {
    return "36 25 " + device + " " + root + " " + mountPoint + " rw,nosuid shared:1 - vfat " +
           source + " rw\n";
}

}  // namespace torvanik::testing
