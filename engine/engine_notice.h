#pragma once

#include "engine/engine_seams.h"
#include "engine/reasons.h"

namespace torvanik {

// A notice the engine itself shows in the notice box (always frame 3), told to the
// observer too.
void Tell(Canvas& canvas, const EngineSeams& seams, int firstLine, int lineCount, int number);

// The reason line beside the notice last shown, told to the observer; none for no reason.
void Explain(const EngineSeams& seams, const Why& why);

// A notice and then the reason it was shown for.
void TellWhy(Canvas& canvas, const EngineSeams& seams, int firstLine, int lineCount, int number,
             const Why& why);

// The notice lines the engine shows, by their first line.
namespace notice {
inline constexpr int kInsertDiskAgain = 0;  // 2 lines, disk or -1
inline constexpr int kSplitDoneSeveral = 2;
inline constexpr int kInsertDisk = 3;  // 2 lines, disk
inline constexpr int kDiskFull = 5;    // 3 lines
inline constexpr int kCopyingTo = 8;   // disk
inline constexpr int kSplitDoneOne = 9;
inline constexpr int kNoDestination = 10;
inline constexpr int kCopyingFrom = 11;  // disk
inline constexpr int kJoinDoneSeveral = 12;
inline constexpr int kJoinDoneOne = 13;
inline constexpr int kIdlePrompt = 14;  // 2 lines
inline constexpr int kExamining = 16;
inline constexpr int kInsertDiskOneForJoin = 17;  // 2 lines
inline constexpr int kKeepDiskOne = 19;           // 2 lines
}  // namespace notice

}  // namespace torvanik
