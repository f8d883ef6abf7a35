#include "platform/image_staging.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "platform/durable_file.h"
#include "platform/owned_fd.h"

namespace torvanik {

std::string PatternBeside(const std::string& image) {
    const auto slash = image.rfind('/');
    return image.substr(0, slash + 1) + std::string(kTemporaryPrefix) + image.substr(slash + 1) +
           ".XXXXXX";
}

Result<std::string> MakeFolderBeside(const std::string& image) {
    std::string pattern = PatternBeside(image);
    if (mkdtemp(pattern.data()) == nullptr) {
        return Why{.error = errno};
    }
    return pattern;
}

void RemoveLeftovers(const std::string& directory) {
    const OwnedFolder dir(opendir(directory.c_str()));
    if (!dir) {
        return;
    }
    std::vector<std::string> folders;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        struct stat info {};
        if (!name.starts_with(kTemporaryPrefix) ||
            fstatat(dirfd(dir.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        if (S_ISREG(info.st_mode)) {
            unlinkat(dirfd(dir.get()), entry->d_name, 0);
        } else if (S_ISDIR(info.st_mode)) {
            folders.push_back(directory + "/" + name);
        }
    }
    for (const auto& folder : folders) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
}

}  // namespace torvanik
