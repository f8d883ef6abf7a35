#include "platform/image_look.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "platform/floppy_image.h"
#include "platform/image_drive.h"
#include "res/texts/reason_texts.h"

namespace torvanik {

ImageLook LookAtImageDisk(const DriveMapping& drive, int diskNumber) {
    ImageLook look;
    DIR* dir = opendir(drive.directory.c_str());
    if (dir == nullptr) {
        look.whyNone = ImageReason(image_reason::kNoFolder, drive.directory, errno);
        return look;
    }
    closedir(dir);
    const std::string image = ImageForDisk(drive.directory, diskNumber);
    struct stat info {};
    if (image.empty()) {
        look.whyNone = ImageReason(image_reason::kBeyondImages, drive.directory);
    } else if (lstat(image.c_str(), &info) != 0) {
        const int error = errno;
        look.whyNone = error == ENOENT ? ImageReason(image_reason::kMissing, image)
                                       : ImageReason(image_reason::kUnreadable, image, error);
    } else if (!S_ISREG(info.st_mode)) {
        look.whyNone = ImageReason(image_reason::kNotRegular, image);
    }
    ImageRoot root;
    if (!look.whyNone.empty() || !ReadImageRoot(image, root, look.whyNone)) {
        return look;
    }
    look.freeBytes = root.freeBytes;
    if (drive.capacity) {
        std::uint64_t used = 0;
        if (!ReadRootUse(image, root, used, look.whyNone)) {
            return look;
        }
        look.freeBytes =
            std::min(look.freeBytes, *drive.capacity - std::min(*drive.capacity, used));
    }
    look.image = image;
    look.format = FloppyFormatOfSize(root.imageBytes);
    return look;
}

}  // namespace torvanik
