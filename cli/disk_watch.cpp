#include "cli/disk_watch.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "platform/image_names.h"

namespace torvanik::cli {
namespace {

std::string StatText(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return "-";
    }
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino) + " " +
           std::to_string(info.st_size) + " " + std::to_string(info.st_mtim.tv_sec) + "." +
           std::to_string(info.st_mtim.tv_nsec);
}

std::string FolderListing(const std::string& folder) {
    std::vector<std::string> lines;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        lines.push_back(entry.path().filename().string() + " " + StatText(entry.path()));
    }
    std::sort(lines.begin(), lines.end());
    std::string text = StatText(folder) + "\n";
    for (const auto& line : lines) {
        text += line + "\n";
    }
    return text;
}

}  // namespace

std::string DiskFingerprint(const DriveMap& drives, int index, int diskNumber) {
    const DriveMapping* mapping = drives.Find(index);
    if (mapping == nullptr) {
        return {};
    }
    // Resolving an image drive copies the image out; the image file itself is the disk.
    if (mapping->kind == DriveKind::Images) {
        const Result<std::string> image = ImageForDisk(mapping->directory, diskNumber);
        if (!image) {
            return "no disk: " + image.why().text;
        }
        return *image + " " + StatText(*image);
    }
    const DiskInDrive disk = drives.Resolve(index, diskNumber, DiskUse::Read);
    if (disk.folder.empty()) {
        return "no disk: " + disk.whyNone;
    }
    return disk.folder + "\n" + FolderListing(disk.folder);
}

std::string MountedDisk(const DriveMap& drives, int index) {
    return drives.DiskIdentity(index);
}

}  // namespace torvanik::cli
