#pragma once

#include "platform/drive_map.h"
#include "platform/result.h"

// "images:DIR": a drive whose disk N is the Nth 1.44 MB floppy image of DIR (see
// image_names.h). A step works on a private folder holding a copy of the image's root
// files; what the step commits there is carried into the image afterwards.
namespace torvanik {

// The image of disk `diskNumber`, its files copied out into a private folder that lives
// as long as the result's `hold`. For writing, a missing image is made, freshly formatted.
DiskInDrive ResolveImageDisk(const DriveMapping& drive, int diskNumber, DiskUse use);

// Carries what changed in the disk's folder (files written, files deleted) into its image
// and reads it back; the image is replaced whole, only when all of it went through.
Result<void> FinishImageDisk(const DiskInDrive& disk);

}  // namespace torvanik
