#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

// Names and contents of the files of a disk set: INFO.FIL on disk 1 and one numbered
// chunk per disk. All texts are Windows-1252 bytes.
namespace torvanik {

// The longest name INFO.FIL carries: the set's readers hold 99 characters.
inline constexpr std::size_t kMaxSetNameBytes = 99;

// The set's name for a source's bare name: bytes below 32 and the characters a disk's
// file names can't hold (\ / : * ? " < > |) become '_', so that the set can be joined.
std::string SetNameOf(std::string_view sourceName);

// Every '.' becomes '_', up to the first byte below 32 taken as a signed byte: a control
// character or any byte from 0x80 on (accented letters) ends the scan. Sets already on
// disks depend on this exact rule.
std::string ChunkBaseName(std::string_view name);

// "A:bilde_bmp_1": drive root, base name, '_' and the disk number; no backslash, so the
// chunk lands in the drive's current folder.
std::string ChunkPath(std::string_view driveRoot, std::string_view baseName, int disk);

// "A:\INFO.FIL", always in the root.
std::string InfoFilePath(std::string_view driveRoot);

// The bytes of INFO.FIL: the length in decimal, 0x0A, the bare name (no terminator).
std::string FormatInfoFile(std::int64_t length, std::string_view name);

// Skips bytes up to the first digit, collects the digits; the byte after them is consumed.
// -1 at end of file before any digit, and for a number too large to hold.
std::int64_t ReadInfoNumber(File& file);

// Skips bytes below 32 (unsigned), then takes the name up to the next byte below 32 or
// the end; that byte is consumed. None when the file ends before a name.
std::optional<std::string> ReadInfoName(File& file);

// The length and name of INFO.FIL's bytes, read as the two readers above read the file.
struct InfoFileFacts {
    std::int64_t length = -1;
    std::optional<std::string> name;
};
InfoFileFacts ParseInfoFile(std::string_view bytes);

// A bare file name: not empty, not "." or "..", and no '/', '\' or ':'.
bool IsBareFileName(std::string_view name);

}  // namespace torvanik
