#pragma once

#include <cstdint>
#include <string>

#include "platform/drive_map.h"
#include "platform/result.h"

// What an images: drive holds, told to the user without unpacking an image or taking the
// image folder's lock: the image's root folder and the FAT's free space, read by mtools.
namespace torvanik {

struct ImageLook {
    std::string image;
    std::uint64_t freeBytes = 0;  // as a step would find it, the drive's capacity applied
    // The image's own format, when it has the size of one; none for other images.
    const FloppyFormat* format = nullptr;
};

// Fails, in words of its own, when there is no image to look at.
Result<ImageLook> LookAtImageDisk(const DriveMapping& drive, int diskNumber);

}  // namespace torvanik
