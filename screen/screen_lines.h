#pragma once

#include <array>

#include "platform/cp1252.h"
#include "res/texts/painted_texts.h"
#include "screen/text_line.h"

// The lines of the fixed picture and of the help box as the canvas paints them.
namespace torvanik {

inline constexpr std::array<TextCorner, 22> kPictureCorners = {{
    // The introduction, white with a shadow.
    {20, 61},
    {20, 81},
    {20, 101},
    {20, 121},
    // About the program, orange with a shadow.
    {60, 175},
    {60, 195},
    {100, 225},
    {100, 245},
    {100, 265},
    // The label of the drive field, red.
    {160, 20},
    // The help text, in the help box only.
    {35, 70},
    {35, 90},
    {35, 110},
    {35, 130},
    {35, 150},
    {35, 180},
    {35, 200},
    {35, 220},
    {35, 240},
    {35, 270},
    // The mode labels.
    {30, 20},
    {30, 20},
}};
static_assert(kPictureCorners.size() == kPictureTexts.size());

inline constexpr auto kPictureBytes = ToCp1252<Cp1252Room(kPictureTexts)>(kPictureTexts);
inline constexpr std::array<TextLine, 22> ScreenLines =
    PaintedLines(kPictureBytes, kPictureCorners);

// Runs of ScreenLines, first and last index.
inline constexpr int kFirstIntroductionLine = 0;
inline constexpr int kLastIntroductionLine = 3;
inline constexpr int kFirstAboutLine = 4;
inline constexpr int kLastAboutLine = 8;
inline constexpr int kDriveLabelLine = 9;
inline constexpr int kFirstHelpLine = 10;
inline constexpr int kLastHelpLine = 19;
inline constexpr int kSplitModeLabelLine = 20;
inline constexpr int kJoinModeLabelLine = 21;

}  // namespace torvanik
