#pragma once

#include <string>
#include <string_view>

#include "engine/engine_seams.h"
#include "engine/reasons.h"

// Where the files of a set stand on the disk in the chosen drive, and whether a file the
// user picked is one of them.
namespace torvanik {

// The disk in the chosen drive for this step; a drive with no disk has no folder, and its
// paths open nothing, as an empty drive would.
DiskInDrive DiskForStep(const EngineSeams& seams, int disk, DiskUse use);

std::string InfoPathOn(const EngineSeams& seams, const DiskInDrive& drive);
std::string ChunkPathOn(const EngineSeams& seams, const DiskInDrive& drive,
                        std::string_view setName, int disk);
// The check file of the set `identity`, in the disk's root beside INFO.FIL.
std::string CheckFilePathOn(const EngineSeams& seams, const DiskInDrive& drive,
                            std::string_view identity);

// Why the drive gave no disk.
Why NoDiskWhy(const DiskInDrive& drive);

// The source is a file the step would write over on this disk: INFO.FIL or the chunk.
bool SourceIsOnDisk(const EngineSeams& seams, File& source, const DiskInDrive& drive,
                    std::string_view setName, int disk);

// The destination is INFO.FIL or a chunk of the set `setName` on disk 1, or would be one.
bool DestinationIsOfSet(const EngineSeams& seams, const std::string& destination,
                        std::string_view setName);

}  // namespace torvanik
