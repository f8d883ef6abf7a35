#pragma once

#include <array>

// The rows of the two progress bars; a bar of length n covers x = kBarLeft to kBarLeft + n - 1.
namespace torvanik {

struct BarRowRange {
    int first;
    int end;  // exclusive
};

inline constexpr std::array<BarRowRange, 2> BarRows = {{
    {210, 227},  // bar 0, this disk
    {260, 277},  // bar 1, whole transfer
}};

inline constexpr int kBarLeft = 30;

}  // namespace torvanik
