#pragma once

#include <optional>

#include "engine/engine_seams.h"
#include "engine/reasons.h"
#include "engine/transfer.h"
#include "platform/byte_digest.h"

// What the check file on a disk of a set says its chunk is.
namespace torvanik {

struct ChunkSum {
    std::optional<Digest128> digest;  // the chunk's line in the set's check file
    // A disk at fault: INFO.FIL not as summed, a check file that can't be read, a disk of
    // another set. With neither a digest nor a reason, the disk has no check file.
    Why why;
};

// On disk 1, the set's check file is the newest of those whose INFO.FIL line matches
// INFO.FIL; its identity becomes the set's, and INFO.FIL is read anew, so that one mended
// since INN holds. On a later disk it is the check file with the set's identity; a disk
// whose only check file for the chunk's name is another set's belongs to another set.
ChunkSum FindChunkSum(Transfer& transfer, const EngineSeams& seams, const DiskInDrive& drive,
                      int disk);

}  // namespace torvanik
