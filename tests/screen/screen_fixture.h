#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "engine/transfer_state.h"
#include "platform/canvas.h"
#include "screen/screen_regions.h"

namespace torvanik::testing {

inline constexpr std::uint32_t kUntouched = 0xFF123456;

// Fresh state, and a 500 x 312 surface of a colour the screen never paints, under a new
// command canvas that counts its presents.
class ScreenTest : public ::testing::Test {
  protected:
    ScreenTest() : surface(500, 312) {
        transferState = TransferState{};
        surface.pixels.assign(surface.pixels.size(), kUntouched);
    }
    ~ScreenTest() override { transferState = TransferState{}; }

    int Count(Region region, std::uint32_t pixel) const {
        return CountIf(region, [pixel](std::uint32_t p) { return p == pixel; });
    }
    int Count(Region region, Colour colour) const { return Count(region, colour.Pixel()); }
    int CountIf(Region region, const std::function<bool(std::uint32_t)>& test) const {
        int count = 0;
        for (int y = region.top; y < region.bottom; ++y) {
            for (int x = region.left; x < region.right; ++x) {
                count += test(surface.At(x, y)) ? 1 : 0;
            }
        }
        return count;
    }
    static int Area(Region region) {
        return (region.right - region.left) * (region.bottom - region.top);
    }

    Surface surface;
    int presents = 0;
    Canvas canvas{surface, [this] { ++presents; }};
};

inline constexpr Region kWholeScreen{0, 0, 500, 312};

}  // namespace torvanik::testing
