#pragma once

#include <cstdint>

namespace torvanik {

// (red, green, blue), 0 to 255 each.
struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    // As stored in a Surface: 0xFFRRGGBB.
    constexpr std::uint32_t Pixel() const {
        return 0xFF000000u | (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) |
               std::uint32_t{blue};
    }
    bool operator==(const Colour&) const = default;
};

inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};

}  // namespace torvanik
