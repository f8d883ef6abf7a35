#include "platform/image_look.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "platform/floppy_image.h"
#include "platform/image_names.h"
#include "res/texts/reason_texts.h"

namespace torvanik {
namespace {

// The image of disk `diskNumber`, when there is one to look at.
Result<std::string> ImageToLookAt(const DriveMapping& drive, int diskNumber) {
    const Result<std::string> image = ImageForDisk(drive.directory, diskNumber);
    if (!image) {
        return image;
    }
    if (image->empty()) {
        return ImageWhy(image_reason::kBeyondImages, drive.directory);
    }
    struct stat info {};
    if (lstat(image->c_str(), &info) != 0) {
        const int error = errno;
        return error == ENOENT ? ImageWhy(image_reason::kMissing, *image)
                               : ImageWhy(image_reason::kUnreadable, *image, error);
    }
    if (!S_ISREG(info.st_mode)) {
        return ImageWhy(image_reason::kNotRegular, *image);
    }
    return image;
}

}  // namespace

Result<ImageLook> LookAtImageDisk(const DriveMapping& drive, int diskNumber) {
    const Result<std::string> image = ImageToLookAt(drive, diskNumber);
    if (!image) {
        return image.why();
    }
    const Result<ImageRoot> root = ReadImageRoot(*image);
    if (!root) {
        return root.why();
    }
    ImageLook look{*image, root->freeBytes, FloppyFormatOfSize(root->imageBytes)};
    if (drive.capacity) {
        const Result<std::uint64_t> used = ReadRootUse(*image, *root);
        if (!used) {
            return used.why();
        }
        look.freeBytes =
            std::min(look.freeBytes, *drive.capacity - std::min(*drive.capacity, *used));
    }
    return look;
}

}  // namespace torvanik
