#include "platform/durable_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <utility>

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

StagedFile::StagedFile(StagedFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      path_(std::move(other.path_)),
      temporary_(std::move(other.temporary_)) {}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept {
    if (this != &other) {
        Drop();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
        temporary_ = std::move(other.temporary_);
    }
    return *this;
}

StagedFile::~StagedFile() {
    Drop();
}

StagedFile StagedFile::Write(const std::string& path, std::string_view bytes) {
    const std::filesystem::path target(path);
    std::error_code ignored;
    std::filesystem::create_directories(target.parent_path(), ignored);
    StagedFile staged;
    staged.path_ = path;
    staged.temporary_ =
        (target.parent_path() / (std::string(kTemporaryPrefix) + target.filename().string()))
            .string();
    unlink(staged.temporary_.c_str());
    staged.fd_ =
        open(staged.temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (staged.fd_ >= 0 && !WriteWhole(staged.fd_, bytes)) {
        staged.Drop();
    }
    // On its way to the medium now, so that the next flush of the file system takes it.
    if (staged.fd_ >= 0) {
        sync_file_range(staged.fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
    }
    return staged;
}

bool StagedFile::Place() {
    if (fd_ < 0) {
        return false;
    }
    const bool flushed = fsync(fd_) == 0;
    const bool closed = close(std::exchange(fd_, -1)) == 0;
    if (!flushed || !closed || std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        unlink(temporary_.c_str());
        return false;
    }
    return true;
}

void StagedFile::Drop() {
    if (fd_ >= 0) {
        close(std::exchange(fd_, -1));
        unlink(temporary_.c_str());
    }
}

bool ReplaceFileWhole(const std::string& path, std::string_view bytes) {
    return StagedFile::Write(path, bytes).Place();
}

}  // namespace torvanik
