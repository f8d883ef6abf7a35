#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine_seams.h"
#include "engine/parity_volume.h"
#include "engine/transfer.h"
#include "platform/byte_digest.h"
#include "platform/par2/par2_layout.h"

// The files of a parity disk: their names, their lengths, and what goes into them beside
// the recovery slice.
namespace torvanik {

struct ParityNames {
    std::string indexName;   // P.par2
    std::string volumeName;  // P.volEE+01.par2
    std::string indexPath;   // host paths on the disk
    std::string volumePath;
    std::vector<std::string> chunkNames;  // as the data disks hold them, in disk order
};

// The names on the disk of parity disk `parityDisk` of the set `setName`.
ParityNames ParityNamesOn(const EngineSeams& seams, const DiskInDrive& drive,
                          std::string_view setName, int parityDisk, int dataDisks);

// The check file of a parity disk: the index's line, then the volume's.
std::string ParityCheckText(const ParityNames& names, const Digest128& index,
                            const Digest128& volume);

// What the source gives the volume.
VolumeSource SourceOfVolume(Transfer& transfer, const ParityNames& names);

// The facts of the set that PAR2 has no place for: its identity, INFO.FIL, the times.
par2::SetFacts SetFactsOf(const Transfer& transfer);

// The critical packets and the set facts, as both .par2 files carry them.
std::string CriticalPacketsOf(const par2::SetLayout& layout);

struct ParitySizes {
    std::uint64_t index = 0;
    std::uint64_t volume = 0;

    // The room both take, each in whole clusters.
    std::uint64_t OnDisk(std::uint64_t clusterBytes) const;
};
// The lengths of the .par2 files, known before any of their bytes are.
ParitySizes ParitySizesOf(const Transfer& transfer, const ParityNames& names);

// The chunk of data disk `disk` of a set with parity disks, on a disk with `free` bytes
// that takes files of at most `largest`: disk 1 fixes the slice size from its room, and
// every disk takes one slice whole, the last the rest; an empty file takes no parity disks.
// Why not, when the disk is too small.
Result<std::uint64_t> ParityChunkLength(Transfer& transfer, const EngineSeams& seams,
                                        const DiskInDrive& drive, int disk, std::uint64_t free,
                                        std::uint64_t largest);

// How many disks the set will take, as a reason line, where the chosen drive's blank
// disks have a known capacity (a folder drive's capacity=); none otherwise, or without
// parity disks.
Why DisksOfSet(const Transfer& transfer, const EngineSeams& seams);

}  // namespace torvanik
