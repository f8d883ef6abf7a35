#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/par2/par2_layout.h"

// What a join of a set with parity disks knows beyond its data disks.
namespace torvanik {

// A recovery slice read from a parity disk, kept for the rebuild in a file with no name in
// the destination's folder.
struct RecoverySlice {
    std::uint32_t exponent = 0;
    File file;
    std::int64_t offset = 0;  // of the slice's first byte in the file
};

struct JoinParity {
    // The data disks the join goes on without, in the order they were skipped. Those left
    // for the rebuild stand as holes of their chunk's length in the joined file; the last
    // one has none while the set's layout is not yet known.
    std::vector<int> skipped;
    int holes = 0;
    // The set's layout, from the first parity disk read.
    std::optional<par2::SetLayout> layout;
    std::vector<RecoverySlice> slices;
    // Where the slices are kept; empty: beside the joined file.
    std::string sliceFolder;
    // The parity disk the next KLAR reads (0: a data disk), and the highest one asked for.
    int parityAsked = 0;
    int lastParityAsked = 0;
    // Disk 1's chunk length, once read: the slice size before a parity disk tells it.
    std::int64_t firstChunk = 0;
    // The data disks an unchecked parity index named when INN took it for disk 1: only
    // where to find the parity disks until one is read.
    int indexDataDisks = 0;
    // Disks given up and asked for again because the first parity disk asked for was none:
    // once each, so that a disk given up for good is not asked for without end.
    std::vector<int> takenBack;
    // The times of the last data disk's chunk, when it was read rather than skipped.
    std::optional<FileTimes> lastChunkTimes;
};

}  // namespace torvanik
