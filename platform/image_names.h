#pragma once

#include <string>
#include <vector>

#include "platform/result.h"

// Which image of an images: drive's folder is which disk.
namespace torvanik {

// The image that is disk `diskNumber` among the file `names` of `directory`: DSKA0000.IMG
// for disk 1, DSKA0001.IMG for disk 2 and so on; or, when it holds images of another
// naming only, its .img, .ima and .vfd files in name order. Empty when it has no image for
// that disk in name order.
std::string ImageAmong(const std::string& directory, const std::vector<std::string>& names,
                       int diskNumber);

// The names of the regular files in an image folder; fails, with the image folder's reason,
// when it can't be listed.
Result<std::vector<std::string>> ImageFolderNames(const std::string& directory);

// The same among the regular files in `directory`; fails when it can't be listed.
Result<std::string> ImageForDisk(const std::string& directory, int diskNumber);

}  // namespace torvanik
