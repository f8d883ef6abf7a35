#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/reasons.h"
#include "platform/durable_file.h"
#include "platform/file_system.h"

// How a file reaches a disk: written whole under a temporary name beside its final one,
// flushed to the medium and closed, and only then put under the final name. Until then
// the disk holds exactly what it held before.
namespace torvanik {

struct PendingFile {
    std::string finalPath;
    std::string temporaryPath;
    File file;
    std::optional<FileIdentity> sealed;  // the file as flushed and closed
    bool created = false;                // the temporary is this step's own
    bool placed = false;                 // under its final name now
};

// A file of an older set under a final name, moved to a temporary name of its own so that
// no moment shows it beside files of the new set; put back when the step fails.
struct SetAside {
    std::string finalPath;
    std::string asidePath;
    bool moved = false;
};

// Creates the temporary for `finalPath`, never through anything already there; why not,
// told as `failed`, when it can't.
Result<void> BeginFile(FileSystem& files, const std::string& finalPath, PendingFile& file,
                       Reason failed);

// Begins the file as BeginFile does and writes `text` into it; a failure is told as
// `failed`.
Result<void> BeginFileWith(FileSystem& files, const std::string& finalPath, std::string_view text,
                           PendingFile& file, Reason failed);

// Flushes the temporary to the medium and closes it, every result checked; a failure is
// told as `failed`.
Result<void> SealFile(FileSystem& files, PendingFile& file, Reason failed);

// Seals `first` and `second` (when it was begun), so that the medium takes both in one
// flush rather than in two; the first failure is told.
Result<void> SealFiles(FileSystem& files, PendingFile& first, PendingFile& second, Reason failed);

// Renames the sealed temporary over the final name, and checks that the final name now
// stands for that very file, whole.
Result<void> PlaceFile(FileSystem& files, PendingFile& file);

// Takes the file off the disk: this step's temporary, or the final name once placed; why
// not, when something of it could not be closed or removed.
Result<void> TakeBackFile(FileSystem& files, PendingFile& file);

// Moves whatever stands at `finalPath` aside, when anything does.
Result<void> MoveAside(FileSystem& files, const std::string& finalPath, SetAside& aside);
// Puts the older file back after a failed step.
Result<void> PutBack(FileSystem& files, SetAside& aside);
// The step went through: the older file goes for good.
void DropAside(FileSystem& files, SetAside& aside);

// `path` still leads to the file `identity` names (same device and inode). A disk taken out
// after its files were placed, its file system unmounted even lazily, fails this: its path
// leads elsewhere then, or nowhere.
bool StandsAt(FileSystem& files, const std::string& path,
              const std::optional<FileIdentity>& identity, Links links);

// Removes the temporaries in `folder` that a killed program left.
void RemoveLeftovers(FileSystem& files, const std::string& folder);

}  // namespace torvanik
