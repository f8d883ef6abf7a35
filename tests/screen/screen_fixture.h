#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>

#include "canvas/canvas.h"
#include "screen/screen_record.h"
#include "screen/screen_regions.h"

namespace torvanik::testing {

inline constexpr std::uint32_t kUntouched = 0xFF123456;

// The record of a fresh screen with drive A: chosen, and a 500 x 312 surface of a colour
// the screen never paints, under a new command canvas that counts its presents.
class ScreenTest : public ::testing::Test {
  protected:
    ScreenTest() : surface(500, 312) {
        record.facts.driveRoot = "A:";
        surface.pixels.assign(surface.pixels.size(), kUntouched);
    }

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

    ScreenRecord record;
    Surface surface;
    int presents = 0;
    Canvas canvas{surface, [this] { ++presents; }};
};

inline constexpr Region kWholeScreen{0, 0, 500, 312};

// What the record says is on the screen: help box, panel, bars, notice.
inline std::array<bool, 4> Shown(const ScreenRecord& record) {
    return {record.helpShown, record.panelShown, record.barsShown, record.noticeShown};
}

}  // namespace torvanik::testing
