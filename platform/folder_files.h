#pragma once

#include <sys/types.h>

#include <ctime>
#include <string>
#include <vector>

#include "platform/result.h"

// The regular files directly in a folder, as they stand.
namespace torvanik {

struct FolderFile {
    std::string name;
    off_t size = 0;
    timespec write{};

    bool SameAs(const FolderFile& other) const {
        return size == other.size && write.tv_sec == other.write.tv_sec &&
               write.tv_nsec == other.write.tv_nsec;
    }
};

// In name order; a link is no regular file. The Why holds the system's error number.
Result<std::vector<FolderFile>> RegularFiles(const std::string& folder);

// The file of `files` named `name`; none when there is none.
const FolderFile* Named(const std::vector<FolderFile>& files, const std::string& name);

}  // namespace torvanik
