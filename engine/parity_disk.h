#pragma once

#include <string>

#include "engine/engine_seams.h"
#include "engine/join_parity_state.h"
#include "engine/reasons.h"
#include "engine/transfer.h"
#include "platform/byte_digest.h"
#include "platform/par2/par2_layout.h"

// A parity disk of a set: in its root the set's check file, the index `P.par2` and one
// volume `P.volEE+01.par2` holding a recovery slice, no INFO.FIL and no chunk.
namespace torvanik {

struct ParityDiskFiles {
    std::string index;  // host paths
    std::string volume;
    std::string volumeName;  // as the check file lists it
};

// The .par2 files in the disk's root; why not, when it has none.
Result<ParityDiskFiles> FindParityFiles(FileSystem& files, const DiskInDrive& drive);

// The set's layout from the disk's index, with nothing else checked: what INN takes from
// a parity disk put in place of disk 1.
Result<par2::SetLayout> ReadParityIndex(const EngineSeams& seams, const DiskInDrive& drive);

// A volume read whole: the set's layout, and its recovery slice copied into a file with no
// name in `sliceFolder` (nowhere when it is empty); `digest` has had every byte read.
struct ParityVolume {
    par2::SetLayout layout;
    RecoverySlice slice;
};
Result<ParityVolume> ReadParityVolume(const EngineSeams& seams, const std::string& path,
                                      const std::string& sliceFolder, ByteDigest& digest);

// The volume as the set's check file on the disk lists it.
Result<void> MatchParityCheckFile(const EngineSeams& seams, const DiskInDrive& drive,
                                  const std::string& identity, const ParityDiskFiles& found,
                                  const Digest128& digest);

// The layout is the set's the join reads: identity, INFO.FIL, chunk names and lengths.
Result<void> LayoutFitsJoin(const par2::SetLayout& layout, const Transfer& transfer,
                            const EngineSeams& seams, const DiskInDrive& drive);

// Where chunk `disk` (1-based) starts in the joined file.
std::int64_t ChunkStart(const par2::SetLayout& layout, int disk);

}  // namespace torvanik
