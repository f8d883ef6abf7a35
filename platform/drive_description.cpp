#include "platform/drive_description.h"

#include "platform/image_look.h"
#include "res/texts/drive_texts.h"

namespace torvanik {
namespace {

std::string Letter(int index) {
    return {static_cast<char>('A' + index), ':'};
}

// 1423 -> "1 423".
std::string Grouped(std::uint64_t number) {
    std::string digits = std::to_string(number);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), 1, ' ');
    }
    return digits;
}

// "/srv/bilder/DSKA0000.IMG, 720k, 711 kB ledig": the image of disk 1, in its own format;
// without one, why not and the format a split makes it in.
std::string ImageContents(const DriveMapping& drive, bool& diskIn) {
    const Result<ImageLook> look = LookAtImageDisk(drive, 1);
    if (!look) {
        return look.why().text + std::string(drive_text::kNewImagesAre) +
               std::string(drive.format->name);
    }
    diskIn = true;
    std::string text = look->image + ", ";
    if (look->format != nullptr) {
        text += std::string(look->format->name) + ", ";
    }
    return text + Grouped(look->freeBytes / 1024) + std::string(drive_text::kFreeKB);
}

// What drive `index` finds now; `diskIn` false when the text says why no disk is in.
std::string Contents(const DriveMap& map, FileSystem& files, int index, bool& diskIn) {
    diskIn = false;
    const DriveMapping* drive = map.Find(index);
    if (drive == nullptr) {
        return std::string(drive_text::kNotSetUp);
    }
    if (drive->kind == DriveKind::Images) {
        return ImageContents(*drive, diskIn);
    }
    const DiskInDrive disk = map.Resolve(index, 1, DiskUse::Read);
    if (disk.folder.empty()) {
        return disk.whyNone;
    }
    diskIn = true;
    if (const auto free = files.FreeBytes(disk)) {
        return disk.folder + ", " + Grouped(*free / 1024) + std::string(drive_text::kFreeKB);
    }
    return disk.folder + std::string(drive_text::kMissingFolder);
}

}  // namespace

std::string DescribeDrive(const DriveMap& map, FileSystem& files, int index) {
    bool diskIn = false;
    const std::string contents = Contents(map, files, index, diskIn);
    return Letter(index) + (diskIn ? std::string(drive_text::kIs) : " ") + contents;
}

std::string DescribeDriveContents(const DriveMap& map, FileSystem& files, int index) {
    bool diskIn = false;
    return Contents(map, files, index, diskIn);
}

std::string DescribeTarget(const DriveMapping& mapping) {
    std::string text;
    switch (mapping.kind) {
        case DriveKind::Folder:
            text = mapping.directory;
            break;
        case DriveKind::Media:
            text = mapping.directory.empty() ? "media" : "media:" + mapping.directory;
            break;
        case DriveKind::Device:
            text = "device:" + mapping.device;
            break;
        case DriveKind::Images:
            text = "images:" + mapping.directory + ",format=" + std::string(mapping.format->name);
            break;
        case DriveKind::RemovableDisk:
            text = std::string(drive_text::kRemovableDisk) + std::to_string(mapping.order);
            break;
    }
    if (mapping.capacity) {
        text += ",capacity=" + std::to_string(*mapping.capacity);
    }
    return text;
}

std::string FolderDrivesNote(const DriveMap& map) {
    std::string note;
    for (int index = 0; index < kDriveLetters; ++index) {
        const DriveMapping* drive = map.Find(index);
        if (drive == nullptr || drive->kind != DriveKind::Folder) {
            continue;
        }
        if (!note.empty()) {
            note += drive_text::kBetweenDrives;
        }
        note += std::string(drive_text::kDrive) + Letter(index) +
                std::string(drive_text::kIsFolder) + drive->directory;
    }
    return note;
}

}  // namespace torvanik
