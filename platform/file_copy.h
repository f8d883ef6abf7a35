#pragma once

#include "platform/owned_fd.h"
#include "platform/result.h"

// Copying a file of any size without holding it in memory.
namespace torvanik {

// Copies the whole file open as `from` into the empty file open for writing as `to`:
// by sharing its blocks where the file system can (a reflink), else by copy_file_range
// in bounded pieces over the data only, so that holes stay holes. The Why holds the
// system's error number; 0 when the file was cut meanwhile.
Result<void> CopyFileData(const OwnedFd& from, const OwnedFd& to);

}  // namespace torvanik
