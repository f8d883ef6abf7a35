#pragma once

#include <string>

#include "platform/drive_map.h"

// "images:DIR": a drive whose disk N is the Nth 1.44 MB floppy image of DIR. A step works
// on a private folder holding a copy of the image's root files; what the step commits
// there is carried into the image afterwards.
namespace torvanik {

// The image that is disk `diskNumber` of DIR: DSKA0000.IMG for disk 1, DSKA0001.IMG for
// disk 2 and so on; or, when DIR holds images of another naming only, its .img, .ima and
// .vfd files in name order. Empty when DIR has no image for that disk in name order.
std::string ImageForDisk(const std::string& directory, int diskNumber);

// The image of disk `diskNumber`, its files copied out into a private folder that lives
// as long as the result's `hold`. For writing, a missing image is made, freshly formatted.
DiskInDrive ResolveImageDisk(const DriveMapping& drive, int diskNumber, DiskUse use);

// Carries what changed in the disk's folder (files written, files deleted) into its image
// and reads it back; the image is replaced whole, only when all of it went through.
bool FinishImageDisk(const DiskInDrive& disk, std::string& reason);

}  // namespace torvanik
