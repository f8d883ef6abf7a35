#pragma once

#include <array>

#include "platform/cp1252.h"
#include "res/texts/painted_texts.h"
#include "screen/text_line.h"

// The lines of the notice box as the canvas paints them; a notice is a run of consecutive
// entries.
namespace torvanik {

// Where each of kNoticeTexts is painted.
inline constexpr std::array<TextCorner, 28> kNoticeCorners = {{
    {145, 100}, {155, 125}, {120, 110}, {145, 100}, {185, 125}, {138, 95},  {123, 115},
    {120, 135}, {125, 110}, {125, 110}, {123, 115}, {120, 110}, {117, 110}, {125, 110},
    {120, 100}, {120, 125}, {110, 110}, {145, 100}, {160, 125}, {120, 100}, {145, 125},
    {145, 100}, {160, 125}, {125, 100}, {185, 125}, {108, 110}, {133, 110}, {120, 110},
}};
static_assert(kNoticeCorners.size() == kNoticeTexts.size());

inline constexpr auto kNoticeBytes = ToCp1252<Cp1252Room(kNoticeTexts)>(kNoticeTexts);
inline constexpr std::array<TextLine, 28> NoticeLines = PaintedLines(kNoticeBytes, kNoticeCorners);

}  // namespace torvanik
