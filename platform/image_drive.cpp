#include "platform/image_drive.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <vector>

#include "platform/child_process.h"
#include "platform/cp1252.h"
#include "platform/file_system.h"
#include "platform/image_disk.h"
#include "platform/image_names.h"
#include "platform/image_replace.h"
#include "platform/image_staging.h"
#include "res/texts/reason_texts.h"

namespace torvanik {
namespace {

// What a step changed in its folder since the image was unpacked or last carried.
struct FolderChanges {
    std::vector<std::string> changed;  // names written
    std::vector<std::string> paths;    // their paths in the folder
    std::vector<std::string> removed;  // names deleted

    bool empty() const { return changed.empty() && removed.empty(); }
};

// The image folder, held against other programs; the Why's error is EWOULDBLOCK when
// another holds it.
Result<ImageHold> LockImageFolder(const std::string& directory) {
    Result<File> lock = FileSystem().LockFolder(directory);
    if (!lock) {
        const int error = lock.why().error;
        return Why{.error = error,
                   .text = error == EWOULDBLOCK
                               ? ImageReason(image_reason::kInUse, directory)
                               : ImageReason(image_reason::kNoFolder, directory, error)};
    }
    return HoldImageDisk({{}, std::move(*lock)});
}

// The names of the folder's regular files, once what killed steps left is removed. Only a
// step that holds the image folder's lock may call this.
Result<std::vector<std::string>> WithoutLeftovers(const std::string& directory) {
    RemoveLeftovers(directory);
    return ImageFolderNames(directory);
}

// The files `names` of `image` copied out into a new private folder of `disk`, beside the
// image.
Result<void> Unpack(ImageDisk& disk, const std::string& image,
                    const std::vector<std::string>& names) {
    const Result<std::string> folder = MakeFolderBeside(disk.image);
    if (!folder) {
        return ImageWhy(image_reason::kNoStaging, disk.image, folder.why().error);
    }
    disk.folder = *folder;
    return CopyOutOfImage(image, names, disk.folder);
}

// The image's own entry, the image made in `format` first when a write finds none.
Result<struct stat> StatOrMake(const std::string& image, DiskUse use, const FloppyFormat& format) {
    struct stat info {};
    if (lstat(image.c_str(), &info) == 0) {
        return info;
    }
    if (errno != ENOENT) {
        return ImageWhy(image_reason::kUnreadable, image, errno);
    }
    if (use == DiskUse::Read) {
        return ImageWhy(image_reason::kMissing, image);
    }
    if (auto made = FormatFloppyImage(image, format); !made) {
        return made.why();
    }
    if (lstat(image.c_str(), &info) != 0) {
        return ImageWhy(image_reason::kUnreadable, image, errno);
    }
    return info;
}

// The image of `disk`, checked and unpacked.
Result<ImageRoot> OpenImage(ImageDisk& disk, DiskUse use, const FloppyFormat& format) {
    const Result<struct stat> info = StatOrMake(disk.image, use, format);
    if (!info) {
        return info.why();
    }
    if (!S_ISREG(info->st_mode)) {
        return ImageWhy(image_reason::kNotRegular, disk.image);
    }
    disk.stamp = ImageStamp::Of(*info);
    Result<ImageRoot> root = ReadImageRoot(disk.image);
    if (!root) {
        return root;
    }
    if (auto unpacked = Unpack(disk, disk.image, root->files); !unpacked) {
        return unpacked.why();
    }
    Result<std::vector<FolderFile>> carried = RegularFiles(disk.folder);
    if (!carried) {
        return ImageWhy(image_reason::kNoStaging, disk.image, carried.why().error);
    }
    disk.carried = std::move(*carried);
    return root;
}

// What `files` take on a disk whose clusters are `clusterBytes` long.
std::uint64_t ClusterBytes(const std::vector<FolderFile>& files, std::uint64_t clusterBytes) {
    std::uint64_t used = 0;
    for (const auto& file : files) {
        const auto size = static_cast<std::uint64_t>(file.size);
        used += (size + clusterBytes - 1) / clusterBytes * clusterBytes;
    }
    return used;
}

bool SameBytes(const std::string& one, const std::string& other) {
    return Succeeded(RunChild({"cmp", "-s", one, other}));
}

// The files changed read back out of `image` hold what the folder holds, and none of the
// removed is left: the image's root folder is listed, and only what changed is read, once.
Result<void> ReadsBack(const std::string& image, const ImageDisk& disk,
                       const FolderChanges& changes) {
    const Result<std::vector<std::string>> files = ListImageRoot(image);
    if (!files) {
        return files.why();
    }
    const auto inImage = [&files](const std::string& name) {
        return std::find(files->begin(), files->end(), name) != files->end();
    };
    if (!std::all_of(changes.changed.begin(), changes.changed.end(), inImage) ||
        std::any_of(changes.removed.begin(), changes.removed.end(), inImage)) {
        return ImageWhy(image_reason::kReadBackDiffers, disk.image);
    }
    const ImageHold back = HoldImageDisk({disk.image});
    if (auto unpacked = Unpack(*back, image, changes.changed); !unpacked) {
        return unpacked;
    }
    for (const auto& name : changes.changed) {
        if (!SameBytes(back->folder + "/" + name, disk.folder + "/" + name)) {
            return ImageWhy(image_reason::kReadBackDiffers, disk.image);
        }
    }
    return {};
}

FolderChanges ChangesIn(const ImageDisk& disk, const std::vector<FolderFile>& now) {
    FolderChanges changes;
    for (const auto& file : now) {
        const FolderFile* before = Named(disk.carried, file.name);
        if (before == nullptr || !before->SameAs(file)) {
            changes.changed.push_back(file.name);
            changes.paths.push_back(disk.folder + "/" + file.name);
        }
    }
    for (const auto& file : disk.carried) {
        if (Named(now, file.name) == nullptr) {
            changes.removed.push_back(file.name);
        }
    }
    return changes;
}

// The changes made on the copy of the image and read back from it. A reason names the
// image, not the copy the work was done on.
Result<void> ChangeCopy(const ImageDisk& disk, const std::string& copy,
                        const FolderChanges& changes) {
    Result<void> done = DeleteFromImage(copy, changes.removed);
    if (done) {
        done = CopyIntoImage(copy, changes.paths);
    }
    if (done) {
        done = ReadsBack(copy, disk, changes);
    }
    if (done) {
        return done;
    }
    Why why = done.why();
    const std::string copyName = Utf8ToCp1252(copy.substr(copy.rfind('/') + 1));
    const auto at = why.text.find(copyName);
    if (at != std::string::npos) {
        why.text.replace(at, copyName.size(),
                         Utf8ToCp1252(disk.image.substr(disk.image.rfind('/') + 1)));
    }
    return why;
}

Result<void> CarryInto(const ImageDisk& disk, const std::vector<FolderFile>& now) {
    const FolderChanges changes = ChangesIn(disk, now);
    if (changes.empty()) {
        return {};
    }
    const Result<std::string> copy = CopyBeside(disk);
    if (!copy) {
        return copy.why();
    }
    Result<void> done = ChangeCopy(disk, *copy, changes);
    if (done) {
        done = Replace(disk, *copy);
    }
    if (!done) {
        unlink(copy->c_str());
    }
    return done;
}

// The disk's hold, the image opened, or why there is no disk.
DiskInDrive ImageDiskOf(const DriveMapping& drive, int diskNumber, DiskUse use, ImageHold hold) {
    DiskInDrive disk;
    const Result<std::vector<std::string>> names = WithoutLeftovers(drive.directory);
    if (!names) {
        disk.whyNone = names.why().text;
        return disk;
    }
    hold->image = ImageAmong(drive.directory, *names, diskNumber);
    if (hold->image.empty()) {
        disk.whyNone = ImageReason(image_reason::kBeyondImages, drive.directory);
        return disk;
    }
    const Result<ImageRoot> root = OpenImage(*hold, use, *drive.format);
    if (!root) {
        disk.whyNone = root.why().text;
        return disk;
    }
    // Room on the disk: what the FAT has free, plus what the copied files take there, for
    // the drive counts those against it as on any other disk, in the image's own clusters.
    std::uint64_t capacity = root->freeBytes + ClusterBytes(hold->carried, root->clusterBytes);
    if (drive.capacity) {
        capacity = std::min(capacity, *drive.capacity);
    }
    disk.folder = hold->folder;
    disk.capacity = capacity;
    disk.clusterBytes = root->clusterBytes;
    disk.hold = std::move(hold);
    return disk;
}

}  // namespace

ImageHold HoldImageDisk(ImageDisk disk) {
    return ImageHold(new ImageDisk(std::move(disk)), [](ImageDisk* held) {
        if (!held->folder.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(held->folder, ignored);
        }
        delete held;  // and with it the lock
    });
}

DiskInDrive ResolveImageDisk(const DriveMapping& drive, int diskNumber, DiskUse use) {
    Result<ImageHold> hold = LockImageFolder(drive.directory);
    if (!hold) {
        DiskInDrive disk;
        disk.inUse = hold.why().error == EWOULDBLOCK;
        disk.whyNone = hold.why().text;
        return disk;
    }
    return ImageDiskOf(drive, diskNumber, use, std::move(*hold));
}

Result<void> FinishImageDisk(const DiskInDrive& disk) {
    if (!disk.hold) {
        return {};  // no image was found for the step
    }
    const auto& imageDisk = *static_cast<const ImageDisk*>(disk.hold.get());
    Result<std::vector<FolderFile>> now = RegularFiles(imageDisk.folder);
    if (!now) {
        return ImageWhy(image_reason::kNotWritten, imageDisk.image, now.why().error);
    }
    if (auto carried = CarryInto(imageDisk, *now); !carried) {
        return carried;
    }
    imageDisk.carried = std::move(*now);
    return {};
}

}  // namespace torvanik
