#pragma once

#include <optional>
#include <string>

#include "engine/disk_commit.h"

// The files one split step writes on its disk (INFO.FIL on disk 1, the chunk, the check
// file), placed together or taken back together.
namespace torvanik {

struct SplitFiles {
    PendingFile info;
    PendingFile chunk;
    PendingFile checkFile;
    SetAside oldInfo;
    SetAside oldChunk;
};

// Puts the sealed files under their final names and flushes the folder. Older files under
// those names are moved aside first, so that a failed step puts them back. On disk 1, what
// a power cut can leave at each point is one whole set or none, never a mix of two:
//   before anything: the older set whole (its INFO.FIL and chunk), or nothing;
//   older INFO.FIL and chunk moved aside, folder flushed: no set;
//   new chunk placed: no set (a chunk without INFO.FIL);
//   new INFO.FIL placed, folder flushed: the new set whole.
Result<void> PlaceSplitFiles(FileSystem& files, const std::string& folder, SplitFiles& split);

// After the folder's last flush: the folder is still `folderIdentity`, the one the step
// began in, on the same file system, and every file placed stands at its name there as
// sealed.
bool StillOnDisk(FileSystem& files, const std::string& folder,
                 const std::optional<FileIdentity>& folderIdentity, const SplitFiles& split);

// The step went through: the older files go for good.
void DropOlderFiles(FileSystem& files, SplitFiles& split);

// Takes the step's files off the disk and puts the older ones back; the first failure is
// told as the undo's.
Result<void> TakeBackSplitFiles(FileSystem& files, SplitFiles& split);

}  // namespace torvanik
