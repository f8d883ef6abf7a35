#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/file_system.h"

// The one record of all transfer and display state, for the whole run of the program.
namespace torvanik {

// View-state bits: what is on the screen, and which transfer is armed.
inline constexpr int VS_HELP = 1;
inline constexpr int VS_PANEL = 2;
inline constexpr int VS_BARS = 4;
inline constexpr int VS_NOTICE = 8;
inline constexpr int VS_SPLIT = 16;
inline constexpr int VS_JOIN = 32;

inline constexpr std::array<const char*, 18> DriveRoots = {
    "A:", "B:", "C:", "D:", "E:", "F:", "G:", "H:", "I:",
    "J:", "K:", "L:", "M:", "N:", "O:", "P:", "Q:", "R:",
};
inline constexpr int kSelectableDrives = 14;  // "A:" to "N:"

inline constexpr std::size_t CopyBlockSize = 16384;
inline constexpr int BarScale = 440;
inline constexpr std::int64_t kSmallestUsableFree = 1024;

// The four arguments of a ShowNotice call.
struct Notice {
    int box = 0;
    int firstLine = 0;
    int lineCount = 0;
    int number = 0;

    bool operator==(const Notice&) const = default;
};

struct TransferState {
    int driveIndex = 0;
    int spareSetting = 0;
    int viewState = 0;
    int pathStripKind = 0;
    int noticeToggle = 0;
    int transferPending = 0;
    int diskNumber = 0;
    int panelDiskNumber = 0;
    std::int64_t freeKB = 0;
    std::string sourcePath;       // host path (UTF-8)
    std::string destinationPath;  // host path (UTF-8)
    std::string fileName;         // bare name, Windows-1252
    std::FILE* sourceFile = nullptr;
    std::FILE* destinationFile = nullptr;
    std::int64_t sourceSize = 0;
    std::int64_t bytesWritten = 0;
    std::int64_t joinTotal = 0;
    std::string joinName;  // Windows-1252, at most 99 bytes
    std::int64_t bytesJoined = 0;
    FileTimes fileTimes;
    Notice lastNotice;
    std::array<int, 2> barLength{};
    int lastDiskBar = 0;
    int lastTotalBar = 0;
    int panelShowFree = 0;
};

extern TransferState transferState;

inline bool InMode(const TransferState& s) {
    return s.viewState >= VS_SPLIT;
}
inline bool InJoinMode(const TransferState& s) {
    return s.viewState >= VS_JOIN;
}
inline bool InSplitMode(const TransferState& s) {
    return InMode(s) && !InJoinMode(s);
}

}  // namespace torvanik
