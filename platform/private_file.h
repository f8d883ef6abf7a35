#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/result.h"

// Small files a program keeps for itself in a folder of the user's own (mode 0700), read
// as untrusted input: never through a link, never waiting on a FIFO, only regular files of
// the user's own of a bounded size. The files are the records of transfers, and a file
// refused is told with a record's reason.
namespace torvanik {

// The bytes of the file `name` in `folder`, when it is a regular file of the user's own of
// at most `most` bytes, in a folder of the user's own; none when there is no such file. A
// folder of the user's own that others may enter is kept to mode 0700 first.
Result<std::optional<std::string>> ReadPrivateFile(const std::string& folder,
                                                   const std::string& name, std::size_t most);

// Makes `folder` (and the folders above it) when it is missing, with mode 0700; fails unless
// it is then a folder of the user's own, kept to mode 0700.
Result<void> MakePrivateFolder(const std::string& folder);

// Removes `name` in `folder` when it is a regular file of the user's own in a folder of the
// user's own; anything else stays as it is.
void RemovePrivateFile(const std::string& folder, const std::string& name);

}  // namespace torvanik
