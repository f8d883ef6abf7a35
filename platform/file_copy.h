#pragma once

// Copying a file of any size without holding it in memory.
namespace torvanik {

// Copies the whole file open as `from` into the empty file open for writing as `to`:
// by sharing its blocks where the file system can (a reflink), else by copy_file_range
// in bounded pieces over the data only, so that holes stay holes. False, with errno, when
// a call failed.
bool CopyFileData(int from, int to);

}  // namespace torvanik
