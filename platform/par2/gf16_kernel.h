#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The ways to multiply a region by a constant and add it to another, behind one signature,
// so that the builds for wider vector instructions stand beside the portable one.
namespace torvanik::par2 {

// The products of a factor with each nibble of a word, split into their low and high
// bytes: low[k][n] is the low byte of factor * (n << 4k).
struct GfNibbleTables {
    std::array<std::array<std::uint8_t, 16>, 4> low{}, high{};
};
GfNibbleTables NibbleTablesOf(std::uint16_t factor);
// out ^= factor * in through the factor's nibble tables, one word at a time: the vector
// kernels' tail.
void GfMultiplyAddNibbles(const GfNibbleTables& tables, const std::uint8_t* in, std::uint8_t* out,
                          std::size_t bytes);

// out ^= factor * in over `bytes` (a multiple of 2), factor not 0 nor 1.
using GfRegionKernel = void (*)(std::uint16_t factor, const std::uint8_t* in, std::uint8_t* out,
                                std::size_t bytes);

void GfMultiplyAddTable(std::uint16_t factor, const std::uint8_t* in, std::uint8_t* out,
                        std::size_t bytes);
void GfMultiplyAddSsse3(std::uint16_t factor, const std::uint8_t* in, std::uint8_t* out,
                        std::size_t bytes);
void GfMultiplyAddAvx2(std::uint16_t factor, const std::uint8_t* in, std::uint8_t* out,
                       std::size_t bytes);

// The kernels this build has and this processor runs, the portable one first and the one
// GfMultiplyAdd takes last.
std::vector<GfRegionKernel> GfKernelsOfThisProcessor();

}  // namespace torvanik::par2
