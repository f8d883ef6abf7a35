#pragma once

#include "canvas/colour.h"

// The colours of the painted screen; the frames of the panel and the notice box carry
// their own in FrameRects.
namespace torvanik {

inline constexpr Colour kIntroductionShadow{0, 0, 80};
inline constexpr Colour kIntroductionText{255, 255, 255};
inline constexpr Colour kAboutShadow{0, 0, 112};
inline constexpr Colour kOrange{255, 160, 0};  // the about lines and the mode label
inline constexpr Colour kDriveFieldRed{255, 0, 0};
inline constexpr Colour kWhiteBand{255, 255, 255};
inline constexpr Colour kPathStrip{255, 255, 255};
inline constexpr Colour kPathText{0, 0, 0};
inline constexpr Colour kHelpFrame{255, 0, 0};
inline constexpr Colour kHelpText{0, 0, 153};
inline constexpr Colour kPanelText{0, 0, 204};
inline constexpr Colour kNoticeText{204, 0, 0};
inline constexpr Colour kBar{255, 0, 0};
inline constexpr Colour kTextBackground{255, 255, 255};

}  // namespace torvanik
