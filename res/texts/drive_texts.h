#pragma once

#include <string_view>

// What the drives say to the user (UTF-8).
namespace torvanik::drive_text {

inline constexpr std::string_view kNoDiskIn = "Ingen diskett/disk er satt inn";
inline constexpr std::string_view kTwoDisksIn = "To disker er satt inn: ta ut den ene";
// "Disken kunne ikke løses ut (udisksctl's first line of errors): løs den ut ...".
inline constexpr std::string_view kCouldNotEject = "Disken kunne ikke løses ut";
inline constexpr std::string_view kEjectByHand = ": løs den ut fra skrivebordet før du tar den ut";
inline constexpr std::string_view kUdisksMissing =
    "udisks2 er ikke installert: løs ut disken fra skrivebordet før du tar den ut";

// The drive field's tooltip: "A: = /media/ola/FLOPPY, 1 423 kB ledig".
inline constexpr std::string_view kIs = " = ";
inline constexpr std::string_view kFreeKB = " kB ledig";
inline constexpr std::string_view kMissingFolder = " (finnes ikke)";
inline constexpr std::string_view kNotSetUp = "ingen stasjon er satt opp";
// After why an images: drive shows no image: "; nye diskbilder lages som 720k".
inline constexpr std::string_view kNewImagesAre = "; nye diskbilder lages som ";
// A default drive that has no --drive spelling: "flyttbar disk nr. 2".
inline constexpr std::string_view kRemovableDisk = "flyttbar disk nr. ";

// The status bar, for drives that are folders: "Stasjon A: er mappen /tmp/floppy-a".
inline constexpr std::string_view kDrive = "Stasjon ";
inline constexpr std::string_view kIsFolder = " er mappen ";
inline constexpr std::string_view kBetweenDrives = "; ";

}  // namespace torvanik::drive_text
