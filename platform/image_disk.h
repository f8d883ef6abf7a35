#pragma once

#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/floppy_image.h"
#include "platform/folder_files.h"
#include "platform/result.h"

// One step's disk on an images: drive, shared by the files that unpack it and carry it back.
namespace torvanik {

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

// The image and the private folder it was unpacked into, both going with it, and the lock
// on the image folder that keeps other programs out meanwhile.
struct ImageDisk {
    std::string image;
    File lock = File();
    std::string folder = {};
    // The image as unpacked, or as this step last replaced it.
    mutable ImageStamp stamp = {};
    // The folder's files as they came out of the image (or as last carried into it).
    mutable std::vector<FolderFile> carried = {};
};

// Takes the private folder away with the last holder, then lets the image folder go.
using ImageHold = std::shared_ptr<ImageDisk>;
ImageHold HoldImageDisk(ImageDisk disk);

}  // namespace torvanik
