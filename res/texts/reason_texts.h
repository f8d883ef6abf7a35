#pragma once

#include <string_view>

#include "res/texts/reason.h"

// Why a step failed, said in one line beside the notice (UTF-8).
namespace torvanik {

// The text of `reason`; "%d" in it stands for the disk it is about.
std::string_view ReasonText(Reason reason);

}  // namespace torvanik

// How many disks a set with parity disks takes, said beside the notice before its first
// disk: "Settet får 3 disketter og 1 paritetsdiskett."
namespace torvanik::parity_text {

inline constexpr std::string_view kSetTakes = "Settet får ";
inline constexpr std::string_view kDisk = " diskett";
inline constexpr std::string_view kDisks = " disketter";
inline constexpr std::string_view kAnd = " og ";
inline constexpr std::string_view kParityDisk = " paritetsdiskett";
inline constexpr std::string_view kParityDisks = " paritetsdisketter";
inline constexpr std::string_view kEnd = ".";

}  // namespace torvanik::parity_text

// Why a floppy image gives no disk, or did not take a step's files: said beside the
// notice, followed by ": " and the image's file name (or the folder's), and the system's
// text of the error in parentheses where a call failed.
namespace torvanik::image_reason {

inline constexpr const char* kMissing = "diskbildet finnes ikke";
inline constexpr const char* kNotRegular = "diskbildet er ikke en vanlig fil";
inline constexpr const char* kNotFat = "diskbildet er ikke en FAT-diskett";
inline constexpr const char* kTruncated = "skadet diskbilde, filen er avkortet";
inline constexpr const char* kUnreadable = "diskbildet kan ikke leses";
inline constexpr const char* kNotCreated = "diskbildet kan ikke lages";
inline constexpr const char* kNotWritten = "diskbildet tok ikke imot filene";
inline constexpr const char* kReadBackDiffers = "filene leses ikke likt tilbake fra diskbildet";
inline constexpr const char* kNoStaging = "ingen midlertidig mappe for diskbildet";
inline constexpr const char* kBeyondImages = "mappen har ikke så mange diskbilder";
inline constexpr const char* kNoFolder = "mappen med diskbildene kan ikke åpnes";
inline constexpr const char* kInUse = "diskbildene brukes av et annet program";
inline constexpr const char* kChanged =
    "diskbildet ble endret av et annet program mens steget pågikk";
inline constexpr const char* kGone = "mappen med diskbildene ble borte mens diskbildet ble skrevet";
// Said alone, without an image's name: no image can be read without the package.
inline constexpr const char* kMtoolsMissing = "mtools er ikke installert";

}  // namespace torvanik::image_reason

// Why a child process gave no answer: the first line of its error output then says
// "udisksctl svarte ikke innen 30 s og ble stoppet".
namespace torvanik::child_reason {

inline constexpr std::string_view kNoAnswerWithin = " svarte ikke innen ";
inline constexpr std::string_view kSecondsAndStopped = " s og ble stoppet";

}  // namespace torvanik::child_reason
