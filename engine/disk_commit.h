#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "engine/reasons.h"
#include "platform/file_system.h"

// How a file reaches a disk: written whole under a temporary name beside its final one,
// flushed to the medium and closed, and only then put under the final name. Until then
// the disk holds exactly what it held before.
namespace torvanik {

// Temporaries start with this; one left by a killed program is known by it.
inline constexpr std::string_view kTemporaryPrefix = ".~torvanik.";

struct PendingFile {
    std::string finalPath;
    std::string temporaryPath;
    std::FILE* stream = nullptr;
    std::optional<FileIdentity> sealed;  // the file as flushed and closed
    bool placed = false;                 // under its final name now
};

// Creates the temporary for `finalPath`, never through anything already there; says
// why not, as `failed`, when it can't.
Why BeginFile(FileSystem& files, const std::string& finalPath, PendingFile& file, Reason failed);

// Flushes the temporary to the medium and closes it, every result checked; a failure is
// told as `failed`.
Why SealFile(FileSystem& files, PendingFile& file, Reason failed);

// Seals `first` and `second` (when it was begun) side by side, so that the medium takes
// both in one flush rather than in two after each other; the first failure is told.
Why SealFiles(FileSystem& files, PendingFile& first, PendingFile& second, Reason failed);

// Renames the sealed temporary over the final name, and checks that the final name now
// stands for that very file, whole.
Why PlaceFile(FileSystem& files, PendingFile& file);

// Takes the file off the disk: the temporary, or the final name once placed. False when
// something of it could not be removed.
bool TakeBackFile(FileSystem& files, PendingFile& file);

// Removes the temporaries in `folder` that a killed program left.
void RemoveLeftovers(FileSystem& files, const std::string& folder);

}  // namespace torvanik
