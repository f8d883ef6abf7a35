#pragma once

#include <cstdint>

// Where a split with parity disks stands: every data chunk but the last is one slice long,
// and the parity disks follow the last data disk.
namespace torvanik {

struct ParityState {
    int disks = 0;                // parity disks of the set (0: a split without parity)
    std::uint64_t sliceSize = 0;  // fixed at disk 1's step; a multiple of 4
    int dataDisks = 0;            // once the slice size is fixed
    int nextParityDisk = 0;       // 0 while data disks are written; then 1..disks

    bool operator==(const ParityState&) const = default;
};

}  // namespace torvanik
