#pragma once

#include <string>
#include <vector>

// A set with parity disks laid out in folders as a split with parity lays it out: data
// disk i holds INFO.FIL (disk 1), the chunk of `slice` bytes (the last one shorter) and the
// check file; parity disk k holds the check file, `P.par2` and `P.vol{k-1}+01.par2`.
namespace torvanik::testing {

inline constexpr const char* kParityIdentity = "3F9A1C";
// The times every chunk and the set's facts carry.
inline constexpr long kSourceSeconds = 1'500'000'000;
inline constexpr long kSourceNanoseconds = 123'456'789;

struct ParitySetPlan {
    std::string source;  // its bare name is the set's
    std::size_t slice = 0;
    int parityDisks = 1;
};

// Lays the set out: data disk i in disks[i-1], parity disk k in disks[K+k-1]; returns K.
int LayOutParitySet(const ParitySetPlan& plan, const std::vector<std::string>& disks);

}  // namespace torvanik::testing
