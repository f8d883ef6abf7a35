#pragma once

#include <optional>

#include "engine/check_file.h"
#include "engine/engine_seams.h"
#include "engine/reasons.h"
#include "engine/transfer.h"
#include "platform/byte_digest.h"

// What the check file on a disk of a set says its chunk is.
namespace torvanik {

struct CheckFileEntry {
    std::optional<Digest128> digest;  // the chunk's line in the set's check file
    // A disk at fault: INFO.FIL not as its check file says, a check file that can't be read, a disk
    // of another set. With neither a digest nor a reason, the set has no check files.
    Why why;
    // The disk is of the set, but its check file is damaged, missing or silent on the chunk.
    bool damaged = false;
};

// On disk 1, the set's check file is the newest of those whose INFO.FIL line matches
// INFO.FIL; its identity becomes the set's, and INFO.FIL is read anew, so that one mended
// since INN holds. Any check file on disk 1 makes the set one with check files: when none
// of them is whole and the set's, disk 1 is at fault, and the set keeps that check file's
// identity. On a later disk it is the check file with the set's identity, which every disk
// of such a set must carry; a disk whose only check file for the chunk's name is another
// set's belongs to another set. A set with no check file on disk 1 has none on any disk.
CheckFileEntry FindCheckFileEntry(Transfer& transfer, const EngineSeams& seams,
                                  const DiskInDrive& drive, int disk);

// What the check file of the set `identity` on the disk says of the chunk of disk `disk`
// of the set `setName`; none when the disk has no such check file, or it can't be read.
std::optional<CheckFileLine> ChunkLineOn(const EngineSeams& seams, const DiskInDrive& drive,
                                         std::string_view identity, std::string_view setName,
                                         int disk);

// The bytes of a file of at most 64 KiB (a check file, INFO.FIL); none for a longer one or
// one that can't be read whole.
std::optional<std::string> ReadSmallFile(FileSystem& files, const std::string& path);

}  // namespace torvanik
