#include "platform/drive_system.h"

#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/child_process.h"

namespace torvanik {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUdisksClient = "udisksctl";
constexpr const char* kSystemBus = "/run/dbus/system_bus_socket";

std::string ReadText(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The "dev" file of a sysfs block folder: "8:17\n".
std::optional<DeviceNumber> NumberOf(const fs::path& folder) {
    const std::string text = ReadText(folder / "dev");
    DeviceNumber number;
    char colon = 0;
    std::istringstream in(text);
    if (in >> number.major >> colon >> number.minor && colon == ':') {
        return number;
    }
    return std::nullopt;
}

// The sysfs folder of a block device, e.g. /sys/devices/.../block/sdb/sdb1.
fs::path SysfsFolder(DeviceNumber number) {
    std::error_code error;
    return fs::canonical(
        "/sys/dev/block/" + std::to_string(number.major) + ":" + std::to_string(number.minor),
        error);
}

std::vector<DeviceNumber> WithPartitions(const fs::path& disk) {
    std::vector<DeviceNumber> numbers;
    if (const auto number = NumberOf(disk)) {
        numbers.push_back(*number);
    }
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(disk, error)) {
        if (fs::exists(entry.path() / "partition", error)) {
            if (const auto number = NumberOf(entry.path())) {
                numbers.push_back(*number);
            }
        }
    }
    return numbers;
}

std::optional<DeviceNumber> BlockDeviceAt(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISBLK(info.st_mode)) {
        return std::nullopt;
    }
    return DeviceNumber{major(info.st_rdev), minor(info.st_rdev)};
}

std::string UserName() {
    if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_name != nullptr) {
        return user->pw_name;
    }
    const char* name = std::getenv("USER");
    return name != nullptr ? name : "";
}

}  // namespace

std::string DriveSystem::MountInfo() const {
    return ReadText("/proc/self/mountinfo");
}

std::vector<std::string> DriveSystem::AutomountFolders() const {
    const std::string user = UserName();
    return {"/run/media/" + user, "/media/" + user};
}

std::vector<DeviceNumber> DriveSystem::DeviceAndPartitions(const std::string& path) const {
    const auto number = BlockDeviceAt(path);
    if (!number) {
        return {};
    }
    const fs::path folder = SysfsFolder(*number);
    return folder.empty() ? std::vector<DeviceNumber>{*number} : WithPartitions(folder);
}

std::string DriveSystem::FileSystemUuid(DeviceNumber device) const {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/dev/disk/by-uuid", error)) {
        if (BlockDeviceAt(entry.path().string()) == device) {
            return entry.path().filename().string();
        }
    }
    return {};
}

std::vector<std::vector<DeviceNumber>> DriveSystem::RemovableDisks() const {
    std::vector<std::vector<DeviceNumber>> disks;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/sys/block", error)) {
        if (ReadText(entry.path() / "removable").starts_with("1")) {
            if (auto numbers = WithPartitions(entry.path()); !numbers.empty()) {
                disks.push_back(std::move(numbers));
            }
        }
    }
    std::sort(disks.begin(), disks.end(), [](const auto& a, const auto& b) {
        return std::pair(a[0].major, a[0].minor) < std::pair(b[0].major, b[0].minor);
    });
    return disks;
}

bool DriveSystem::MediumComesOut(const std::string& device) const {
    const auto number = BlockDeviceAt(device);
    if (!number) {
        return false;
    }
    fs::path folder = SysfsFolder(*number);
    std::error_code error;
    if (fs::exists(folder / "partition", error)) {
        folder = folder.parent_path();
    }
    return ReadText(folder / "removable").starts_with("1");
}

DriveSystem::Udisks DriveSystem::UdisksState() const {
    if (!OnPath(kUdisksClient)) {
        return Udisks::kNotInstalled;
    }
    std::error_code error;
    return fs::exists(kSystemBus, error) ? Udisks::kReady : Udisks::kNoSystemBus;
}

Result<ChildOutput> DriveSystem::RunUdisks(const std::vector<std::string>& arguments) const {
    std::vector<std::string> command{kUdisksClient};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return RunChild(command, {}, childLimit_);
}

std::shared_ptr<DriveSystem> HostDriveSystem() {
    static const auto host = std::make_shared<DriveSystem>();
    return host;
}

}  // namespace torvanik
