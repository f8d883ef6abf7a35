#pragma once

// Where the parts of the fixed picture lie (right and bottom exclusive) and the pens that
// draw them.
namespace torvanik {

struct Region {
    int left;
    int top;
    int right;
    int bottom;
};

inline constexpr int kGradientRows = 256;
inline constexpr int kGradientWidth = 500;
inline constexpr int kGradientBlueOffset = 130;
inline constexpr Region kWhiteBandRegion{0, 256, 500, 311};
// The outline's path; the 2-pixel pen runs along it.
inline constexpr Region kDriveFieldOutline{135, 16, 480, 44};
inline constexpr int kDriveFieldPenWidth = 2;
inline constexpr int kDriveRootX = 440;
inline constexpr int kDriveRootY = 20;
inline constexpr Region kPathStripRegion{0, 295, 500, 312};
inline constexpr int kPathStripPenWidth = 10;
inline constexpr int kPathTextX = 34;
inline constexpr int kPathTextY = 295;
inline constexpr Region kHelpBoxRegion{15, 50, 485, 310};
inline constexpr int kHelpBoxPenWidth = 5;

}  // namespace torvanik
