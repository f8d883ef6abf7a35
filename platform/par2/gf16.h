#pragma once

#include <cstddef>
#include <cstdint>

// Arithmetic in GF(2^16) with the generator polynomial x^16 + x^12 + x^3 + x + 1 (0x1100B),
// the field of PAR2's Reed-Solomon code. Addition is XOR.
namespace torvanik::par2 {

std::uint16_t GfMultiply(std::uint16_t a, std::uint16_t b);
// The inverse of a, which must not be 0.
std::uint16_t GfInverse(std::uint16_t a);
std::uint16_t GfPower(std::uint16_t base, std::uint32_t exponent);

// out ^= factor * in, over 16-bit little-endian words; `bytes` a multiple of 2. A factor
// of 1 is a plain XOR; others go through tables, with SSSE3 or AVX2 where the processor
// has them.
void GfMultiplyAdd(std::uint16_t factor, const std::uint8_t* in, std::uint8_t* out,
                   std::size_t bytes);
// data = factor * data, in place, over the same words.
void GfMultiply(std::uint16_t factor, std::uint8_t* data, std::size_t bytes);

}  // namespace torvanik::par2
