#include "platform/image_drive.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/child_process.h"
#include "platform/cp1252.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/floppy_image.h"
#include "platform/image_reasons.h"
#include "platform/image_staging.h"

namespace torvanik {
namespace {

struct FolderFile {
    std::string name;
    off_t size = 0;
    timespec write{};

    bool SameAs(const FolderFile& other) const {
        return size == other.size && write.tv_sec == other.write.tv_sec &&
               write.tv_nsec == other.write.tv_nsec;
    }
};

// Which file an image is, and as what: another program that replaced or changed it has
// changed one of these.
struct ImageStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec write{};

    static ImageStamp Of(const struct stat& info) {
        return {info.st_dev, info.st_ino, info.st_size, info.st_mtim};
    }
    bool SameAs(const ImageStamp& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               write.tv_sec == other.write.tv_sec && write.tv_nsec == other.write.tv_nsec;
    }
};

// One step's disk: the image and the private folder it was unpacked into, both going
// with it, and the lock on the image folder that keeps other programs out meanwhile.
struct ImageDisk {
    std::string image;
    File lock = File();
    std::string folder = {};
    // The image as unpacked, or as this step last replaced it.
    mutable ImageStamp stamp = {};
    // The folder's files as they came out of the image (or as last carried into it).
    mutable std::vector<FolderFile> carried = {};
};

// Takes the private folder away with the hold, then lets the image folder go.
struct ImageDiskRelease {
    void operator()(ImageDisk* disk) const {
        if (!disk->folder.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(disk->folder, ignored);
        }
        delete disk;
    }
};

using Hold = std::shared_ptr<ImageDisk>;

bool Fail(std::string& reason, const char* why, const std::string& image, int error = 0) {
    reason = ImageReason(why, image, error);
    return false;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool EndsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool IsImageName(const std::string& name) {
    const std::string lower = Lower(name);
    return EndsWith(lower, ".img") || EndsWith(lower, ".ima") || EndsWith(lower, ".vfd");
}

// DSKA0000.IMG to DSKA9999.IMG, in any case.
bool IsNumberedName(const std::string& name) {
    const std::string lower = Lower(name);
    return lower.size() == 12 && lower.compare(0, 4, "dska") == 0 && EndsWith(lower, ".img") &&
           std::all_of(lower.begin() + 4, lower.begin() + 8,
                       [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<FolderFile> RegularFiles(const std::string& folder) {
    std::vector<FolderFile> files;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return files;
    }
    while (const dirent* entry = readdir(dir)) {
        struct stat info {};
        if (fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            files.push_back({entry->d_name, info.st_size, info.st_mtim});
        }
    }
    closedir(dir);
    std::sort(files.begin(), files.end(),
              [](const FolderFile& a, const FolderFile& b) { return a.name < b.name; });
    return files;
}

const FolderFile* Named(const std::vector<FolderFile>& files, const std::string& name) {
    const auto found = std::find_if(files.begin(), files.end(),
                                    [&](const FolderFile& f) { return f.name == name; });
    return found == files.end() ? nullptr : &*found;
}

// The image folder, held against other programs; none, with `disk` saying why, when
// another holds it or it can't be opened.
Hold LockImageFolder(const std::string& directory, DiskInDrive& disk) {
    auto lock = FileSystem().LockFolder(directory);
    if (!lock) {
        const int error = lock.why().error;
        disk.inUse = error == EWOULDBLOCK;
        disk.whyNone = disk.inUse ? ImageReason(image_reason::kInUse, directory)
                                  : ImageReason(image_reason::kNoFolder, directory, error);
        return nullptr;
    }
    return Hold(new ImageDisk{{}, std::move(*lock)}, ImageDiskRelease{});
}

// The folder's regular files, once what killed steps left is removed. Only a step that
// holds the image folder's lock may call this.
std::vector<FolderFile> WithoutLeftovers(const std::string& directory) {
    RemoveLeftovers(directory);
    return RegularFiles(directory);
}

// The files `names` of `image` copied out into a new private folder of `disk`, beside the
// image.
bool Unpack(ImageDisk& disk, const std::string& image, const std::vector<std::string>& names,
            std::string& reason) {
    disk.folder = MakeFolderBeside(disk.image);
    if (disk.folder.empty()) {
        return Fail(reason, image_reason::kNoStaging, disk.image, errno);
    }
    return CopyOutOfImage(image, names, disk.folder, reason);
}

// The image of `disk`, made in `format` first when a write finds none, checked and unpacked.
bool OpenImage(ImageDisk& disk, DiskUse use, const FloppyFormat& format, ImageRoot& root,
               std::string& reason) {
    struct stat info {};
    if (lstat(disk.image.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            return Fail(reason, image_reason::kUnreadable, disk.image, errno);
        }
        if (use == DiskUse::Read) {
            return Fail(reason, image_reason::kMissing, disk.image);
        }
        if (!FormatFloppyImage(disk.image, format, reason)) {
            return false;
        }
        if (lstat(disk.image.c_str(), &info) != 0) {
            return Fail(reason, image_reason::kUnreadable, disk.image, errno);
        }
    }
    if (!S_ISREG(info.st_mode)) {
        return Fail(reason, image_reason::kNotRegular, disk.image);
    }
    disk.stamp = ImageStamp::Of(info);
    if (!ReadImageRoot(disk.image, root, reason) || !Unpack(disk, disk.image, root.files, reason)) {
        return false;
    }
    disk.carried = RegularFiles(disk.folder);
    return true;
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
    return RunChild({"cmp", "-s", one, other}).exitCode == 0;
}

bool Flush(const std::string& path, int flags) {
    const int fd = open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool flushed = fsync(fd) == 0;
    const int error = errno;
    const bool closed = close(fd) == 0;
    if (!flushed) {
        errno = error;
    }
    return flushed && closed;
}

// An image that can't be looked at any more: gone means another program took it away.
bool FailOnImage(std::string& reason, const ImageDisk& disk, int error) {
    return Fail(reason, error == ENOENT ? image_reason::kChanged : image_reason::kNotWritten,
                disk.image, error);
}

// The image is still the file the step unpacked, as it was then.
bool Unchanged(const ImageDisk& disk, const struct stat& now, std::string& reason) {
    if (!ImageStamp::Of(now).SameAs(disk.stamp)) {
        return Fail(reason, image_reason::kChanged, disk.image);
    }
    return true;
}

// A copy of the image beside it, for changes that replace the image only when they are
// done; empty, with `reason`, when none could be made.
std::string CopyBeside(const ImageDisk& disk, std::string& reason) {
    const int from = open(disk.image.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info {};
    if (from < 0 || fstat(from, &info) != 0) {
        FailOnImage(reason, disk, errno);
        if (from >= 0) {
            close(from);
        }
        return {};
    }
    if (!Unchanged(disk, info, reason)) {
        close(from);
        return {};
    }
    std::string copy = PatternBeside(disk.image);
    const int to = mkostemp(copy.data(), O_CLOEXEC);
    bool copied = to >= 0 && CopyFileData(from, to) && fchmod(to, info.st_mode & 07777) == 0;
    int error = errno;
    close(from);
    if (to >= 0 && close(to) != 0 && copied) {
        copied = false;
        error = errno;
    }
    if (!copied) {
        if (to >= 0) {
            unlink(copy.c_str());
        }
        Fail(reason, image_reason::kNotWritten, disk.image, error);
        return {};
    }
    return copy;
}

// The files `changed` read back out of `image` hold what the folder holds, and none of
// `removed` is left: the image's root folder is listed, and only what changed is read, once.
bool ReadsBack(const std::string& image, const ImageDisk& disk,
               const std::vector<std::string>& changed, const std::vector<std::string>& removed,
               std::string& reason) {
    std::vector<std::string> files;
    if (!ListImageRoot(image, files, reason)) {
        return false;
    }
    const auto inImage = [&files](const std::string& name) {
        return std::find(files.begin(), files.end(), name) != files.end();
    };
    if (!std::all_of(changed.begin(), changed.end(), inImage) ||
        std::any_of(removed.begin(), removed.end(), inImage)) {
        return Fail(reason, image_reason::kReadBackDiffers, disk.image);
    }
    const Hold back(new ImageDisk{disk.image}, ImageDiskRelease{});
    if (!Unpack(*back, image, changed, reason)) {
        return false;
    }
    for (const auto& name : changed) {
        if (!SameBytes(back->folder + "/" + name, disk.folder + "/" + name)) {
            return Fail(reason, image_reason::kReadBackDiffers, disk.image);
        }
    }
    return true;
}

// Puts the finished copy in the image's place, unless another program changed the image
// meanwhile.
bool Replace(const ImageDisk& disk, const std::string& copy, std::string& reason) {
    if (!Flush(copy, O_RDONLY)) {
        return Fail(reason, image_reason::kNotWritten, disk.image, errno);
    }
    struct stat now {};
    if (lstat(disk.image.c_str(), &now) != 0) {
        return FailOnImage(reason, disk, errno);
    }
    if (!Unchanged(disk, now, reason)) {
        return false;
    }
    if (std::rename(copy.c_str(), disk.image.c_str()) != 0 ||
        lstat(disk.image.c_str(), &now) != 0) {
        return Fail(reason, image_reason::kNotWritten, disk.image, errno);
    }
    const dev_t device = disk.stamp.device;
    disk.stamp = ImageStamp::Of(now);
    Flush(disk.image.substr(0, disk.image.rfind('/') + 1), O_RDONLY | O_DIRECTORY);
    // The image folder's file system taken away meanwhile (unmounted, even lazily) took the
    // new image with it: its name leads elsewhere now, or nowhere.
    struct stat after {};
    if (lstat(disk.image.c_str(), &after) != 0 || after.st_dev != device ||
        !ImageStamp::Of(after).SameAs(disk.stamp)) {
        return Fail(reason, image_reason::kGone, disk.image);
    }
    return true;
}

bool CarryInto(const ImageDisk& disk, const std::vector<FolderFile>& now, std::string& reason) {
    std::vector<std::string> changed;
    std::vector<std::string> paths;
    for (const auto& file : now) {
        const FolderFile* before = Named(disk.carried, file.name);
        if (before == nullptr || !before->SameAs(file)) {
            changed.push_back(file.name);
            paths.push_back(disk.folder + "/" + file.name);
        }
    }
    std::vector<std::string> removed;
    for (const auto& file : disk.carried) {
        if (Named(now, file.name) == nullptr) {
            removed.push_back(file.name);
        }
    }
    if (changed.empty() && removed.empty()) {
        return true;
    }
    const std::string copy = CopyBeside(disk, reason);
    if (copy.empty()) {
        return false;
    }
    const bool done = DeleteFromImage(copy, removed, reason) &&
                      CopyIntoImage(copy, paths, reason) &&
                      ReadsBack(copy, disk, changed, removed, reason);
    if (!done) {
        // The reason names the image, not the copy the work was done on.
        const std::string copyName = Utf8ToCp1252(copy.substr(copy.rfind('/') + 1));
        const auto at = reason.find(copyName);
        if (at != std::string::npos) {
            reason.replace(at, copyName.size(),
                           Utf8ToCp1252(disk.image.substr(disk.image.rfind('/') + 1)));
        }
    }
    if (!done || !Replace(disk, copy, reason)) {
        unlink(copy.c_str());
        return false;
    }
    return true;
}

// The image of disk `diskNumber` among the `files` of `directory`.
std::string ImageAmong(const std::string& directory, const std::vector<FolderFile>& files,
                       int diskNumber) {
    if (diskNumber < 1 || diskNumber > 10'000) {
        return {};
    }
    std::vector<std::string> images;
    bool numbered = false;
    for (const auto& file : files) {
        if (IsImageName(file.name)) {
            images.push_back(file.name);
            numbered = numbered || IsNumberedName(file.name);
        }
    }
    if (!images.empty() && !numbered) {
        const auto index = static_cast<std::size_t>(diskNumber - 1);
        return index < images.size() ? directory + "/" + images[index] : std::string();
    }
    char name[16];
    std::snprintf(name, sizeof name, "DSKA%04d.IMG", diskNumber - 1);
    const auto same = std::find_if(images.begin(), images.end(), [&](const std::string& image) {
        return Lower(image) == Lower(name);
    });
    return directory + "/" + (same != images.end() ? *same : std::string(name));
}

}  // namespace

std::string ImageForDisk(const std::string& directory, int diskNumber) {
    return ImageAmong(directory, RegularFiles(directory), diskNumber);
}

DiskInDrive ResolveImageDisk(const DriveMapping& drive, int diskNumber, DiskUse use) {
    DiskInDrive disk;
    Hold hold = LockImageFolder(drive.directory, disk);
    if (!hold) {
        return disk;
    }
    hold->image = ImageAmong(drive.directory, WithoutLeftovers(drive.directory), diskNumber);
    if (hold->image.empty()) {
        disk.whyNone = ImageReason(image_reason::kBeyondImages, drive.directory);
        return disk;
    }
    ImageRoot root;
    if (!OpenImage(*hold, use, *drive.format, root, disk.whyNone)) {
        return disk;
    }
    // Room on the disk: what the FAT has free, plus what the copied files take there, for
    // the drive counts those against it as on any other disk, in the image's own clusters.
    std::uint64_t capacity = root.freeBytes + ClusterBytes(hold->carried, root.clusterBytes);
    if (drive.capacity) {
        capacity = std::min(capacity, *drive.capacity);
    }
    disk.folder = hold->folder;
    disk.capacity = capacity;
    disk.clusterBytes = root.clusterBytes;
    disk.hold = std::move(hold);
    return disk;
}

bool FinishImageDisk(const DiskInDrive& disk, std::string& reason) {
    if (!disk.hold) {
        return true;  // no image was found for the step
    }
    const auto& imageDisk = *static_cast<const ImageDisk*>(disk.hold.get());
    const std::vector<FolderFile> now = RegularFiles(imageDisk.folder);
    if (!CarryInto(imageDisk, now, reason)) {
        return false;
    }
    imageDisk.carried = now;
    return true;
}

}  // namespace torvanik
