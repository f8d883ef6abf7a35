#include "platform/folder_files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/owned_fd.h"

namespace torvanik {

Result<std::vector<FolderFile>> RegularFiles(const std::string& folder) {
    const OwnedFolder dir(opendir(folder.c_str()));
    if (!dir) {
        return Why{.error = errno};
    }
    std::vector<FolderFile> files;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (entry == nullptr) {
            break;
        }
        struct stat info {};
        if (fstatat(dirfd(dir.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            files.push_back({entry->d_name, info.st_size, info.st_mtim});
        }
    }
    if (errno != 0) {
        return Why{.error = errno};
    }
    std::sort(files.begin(), files.end(),
              [](const FolderFile& a, const FolderFile& b) { return a.name < b.name; });
    return files;
}

const FolderFile* Named(const std::vector<FolderFile>& files, const std::string& name) {
    const auto found = std::find_if(files.begin(), files.end(),
                                    [&](const FolderFile& f) { return f.name == name; });
    return found == files.end() ? nullptr : &*found;
}

}  // namespace torvanik
