#include "platform/durable_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <utility>

namespace torvanik {
namespace {

Result<void> WriteWhole(const OwnedFd& fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd.get(), bytes.data(), bytes.size());
        if (written <= 0) {
            return Why{.error = written < 0 ? errno : EIO};
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

}  // namespace

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept {
    if (this != &other) {
        Drop();
        fd_ = std::move(other.fd_);
        path_ = std::move(other.path_);
        temporary_ = std::move(other.temporary_);
    }
    return *this;
}

StagedFile::~StagedFile() {
    Drop();
}

Result<StagedFile> StagedFile::Write(const std::string& path, std::string_view bytes) {
    const std::filesystem::path target(path);
    // A folder that can't be made fails the open below, which says why.
    std::error_code ignored;
    std::filesystem::create_directories(target.parent_path(), ignored);
    StagedFile staged;
    staged.path_ = path;
    staged.temporary_ =
        (target.parent_path() / (std::string(kTemporaryPrefix) + target.filename().string()))
            .string();
    unlink(staged.temporary_.c_str());
    staged.fd_ = OwnedFd(open(staged.temporary_.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!staged.fd_.valid()) {
        return Why{.error = errno};
    }
    if (auto written = WriteWhole(staged.fd_, bytes); !written) {
        return written.why();
    }
    // On its way to the medium now, so that the next flush of the file system takes it; only
    // a hint, for Place flushes it whatever happens here.
    sync_file_range(staged.fd_.get(), 0, 0, SYNC_FILE_RANGE_WRITE);
    return staged;
}

Result<void> StagedFile::Place() {
    if (!fd_.valid()) {
        return Why{.error = EBADF};
    }
    if (fsync(fd_.get()) != 0) {
        const int error = errno;
        Drop();
        return Why{.error = error};
    }
    Result<void> placed = fd_.Close();
    if (placed && std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        placed = Why{.error = errno};
    }
    if (!placed) {
        unlink(temporary_.c_str());
    }
    return placed;
}

void StagedFile::Drop() {
    if (fd_.valid()) {
        fd_ = {};
        unlink(temporary_.c_str());
    }
}

Result<void> ReplaceFileWhole(const std::string& path, std::string_view bytes) {
    Result<StagedFile> staged = StagedFile::Write(path, bytes);
    if (!staged) {
        return staged.why();
    }
    return staged->Place();
}

}  // namespace torvanik
