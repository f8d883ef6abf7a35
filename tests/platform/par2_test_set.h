#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/par2/par2_layout.h"

// A small recovery set made in memory: its chunks and what the library makes of them.
namespace torvanik::par2 {

struct Chunk {
    std::string name;
    std::string bytes;
};

struct TestSet {
    std::vector<Chunk> chunks;
    SetLayout layout;
};

TestSet MakeSet(std::vector<Chunk> chunks, std::uint64_t sliceSize);
// The recovery slice of `exponent`: the sum of every chunk's padded slice times its
// constant to that power.
std::string RecoverySlice(const TestSet& set, std::uint32_t exponent);
// A recovery volume: the recovery packet of `exponent`, then the critical packets.
std::string VolumeBytes(const TestSet& set, std::uint32_t exponent);
std::string Hex(const std::string& bytes);
std::string Hex(const Md5& md5);

}  // namespace torvanik::par2
