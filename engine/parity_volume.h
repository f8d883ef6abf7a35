#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/engine_seams.h"
#include "engine/reports.h"
#include "platform/byte_digest.h"
#include "platform/par2/par2_layout.h"

// The recovery volume of one parity disk, computed from the source: chunk i of the set is
// the stretch of `sliceSize` bytes at (i-1) * sliceSize.
namespace torvanik {

struct VolumeSource {
    File& source;
    std::uint64_t sourceSize = 0;
    std::uint64_t sliceSize = 0;
    std::vector<std::string> chunkNames;  // as on the disks, in disk order
};

// The recovery packet of one exponent, its slice kept in memory when small and in a file
// with no name on the local disk otherwise; and the set's layout, every chunk hashed.
struct ComputedVolume {
    par2::SetLayout layout;  // the facts are the caller's to fill in
    std::string header;      // of the recovery packet
    std::string slice;       // in memory
    File sliceFile;          // or here, from its start
};

// The set's layout as far as the chunks' names, lengths and first 16 KiB tell it: what the
// constants and the recovery set's identity rest on.
Result<par2::SetLayout> LayoutOfChunks(FileSystem& files, const VolumeSource& from);

// Reads the source once, in windows of at most 1 MiB of every chunk, and sums the chunks
// times their constants to the power `exponent`; a stop is heeded between windows.
Result<ComputedVolume> ComputeVolume(const EngineSeams& seams, Reports& reports,
                                     const VolumeSource& from, std::uint32_t exponent);

// Writes the recovery packet (header and slice) to `out`, adding every byte to `digest`,
// the disk's bar following it; a stop is heeded between windows.
Result<void> WriteRecoveryPacket(const EngineSeams& seams, Reports& reports, ComputedVolume& volume,
                                 File& out, ByteDigest& digest);

}  // namespace torvanik
