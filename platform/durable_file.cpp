#include "platform/durable_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace torvanik {
namespace {

bool WriteWhole(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

bool ReplaceFileWhole(const std::string& path, std::string_view bytes) {
    const std::filesystem::path target(path);
    std::error_code ignored;
    std::filesystem::create_directories(target.parent_path(), ignored);
    const std::string temporary =
        (target.parent_path() / (".~torvanik." + target.filename().string())).string();
    unlink(temporary.c_str());
    const int fd =
        open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    const bool written = WriteWhole(fd, bytes) && fsync(fd) == 0;
    if (close(fd) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace torvanik
