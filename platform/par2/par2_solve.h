#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/par2/par2_layout.h"

// Which combination of recovery slices rebuilds the missing slices.
namespace torvanik::par2 {

// `missing`: disk indexes (0-based) lost; `exponents`: the recovery slices at hand (at
// least as many). Returns X, |missing| rows of |exponents| factors, with
// missing[j] = sum_e X[j][e] * (R_e + sum_{i not missing} c_i^e D_i) in GF(2^16), where R_e
// is the recovery slice of exponents[e]; or none when no choice of the exponents makes a
// regular matrix (then other exponents are needed). Factors of exponents not used are 0.
std::optional<std::vector<std::vector<std::uint16_t>>> RebuildMatrix(
    const SetLayout& layout, const std::vector<int>& missing,
    const std::vector<std::uint32_t>& exponents);

}  // namespace torvanik::par2
