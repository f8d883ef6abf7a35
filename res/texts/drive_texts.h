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

// Why a --drive option or a line of the drives file is refused, after where it stands.
inline constexpr std::string_view kFormatOnlyForImages = "format= gjelder bare images:";
inline constexpr std::string_view kBadCapacity = "ugyldig kapasitet: ";  // the digits follow
// "ugyldig format: 3m (ventet 360k, 720k, 1.2m, 1.44m eller 2.88m)".
inline constexpr std::string_view kBadFormat = "ugyldig format: ";
inline constexpr std::string_view kExpected = " (ventet ";
// "images mangler sti (images:STI)".
inline constexpr std::string_view kMissingPath = " mangler sti (";
inline constexpr std::string_view kPathPattern = ":STI)";
inline constexpr std::string_view kFolderMissing = "mappen mangler";
// "ugyldig stasjon i "Q:=x" (ventet X:=MAPPE)".
inline constexpr std::string_view kBadDrive = "ugyldig stasjon i \"";
inline constexpr std::string_view kExpectedDrive = "\" (ventet X:=MAPPE)";
// "linjen er lengre enn 4096 byte".
inline constexpr std::string_view kLineTooLong = "linjen er lengre enn ";
inline constexpr std::string_view kBytes = " byte";
// "linjen har et kontrolltegn (0x09)".
inline constexpr std::string_view kControlByte = "linjen har et kontrolltegn (";
inline constexpr std::string_view kBadLine = "ugyldig linje";
inline constexpr std::string_view kYesOrNo = "ventet yes eller no";
inline constexpr std::string_view kParityCount = "ventet et antall paritetsdisketter fra 0 til 9";
inline constexpr std::string_view kParityWithoutSums =
    "parity krever kontrollfiler: det kan ikke stå sammen med sums no";
inline constexpr std::string_view kNotRegular = "ikke en vanlig fil";

}  // namespace torvanik::drive_text
