#pragma once

#include <cstddef>
#include <string>

// Small files a program keeps for itself in a folder of the user's own (mode 0700), read
// as untrusted input: never through a link, never waiting on a FIFO, only regular files of
// the user's own of a bounded size.
namespace torvanik {

struct PrivateFile {
    enum class Result {
        kRead,
        kMissing,
        kFolderUnsafe,  // the folder is a link, not a folder, or another user's
        kNotRegular,    // a link, FIFO, device or folder stands at the file's name
        kOtherOwner,
        kTooLarge,
        kFailed,  // `error` says why
    };
    Result result = Result::kMissing;
    std::string bytes;
    int error = 0;
};

// The file `name` in `folder`, when it is a regular file of the user's own of at most
// `most` bytes, in a folder of the user's own. A folder of the user's own that others may
// enter is kept to mode 0700 first.
PrivateFile ReadPrivateFile(const std::string& folder, const std::string& name, std::size_t most);

// Makes `folder` (and the folders above it) when it is missing, with mode 0700; true when
// it is then a folder of the user's own, kept to mode 0700.
bool MakePrivateFolder(const std::string& folder);

// Removes `name` in `folder` when it is a regular file of the user's own in a folder of the
// user's own; anything else stays as it is.
void RemovePrivateFile(const std::string& folder, const std::string& name);

}  // namespace torvanik
