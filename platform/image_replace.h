#pragma once

#include <string>

#include "platform/image_disk.h"
#include "platform/result.h"

// Changes to an image are made on a copy beside it, which takes the image's place only
// when they are done, and only when no other program changed the image meanwhile.
namespace torvanik {

// A copy of the disk's image beside it; its path.
Result<std::string> CopyBeside(const ImageDisk& disk);

// Puts the finished `copy` in the image's place.
Result<void> Replace(const ImageDisk& disk, const std::string& copy);

}  // namespace torvanik
