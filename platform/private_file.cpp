#include "platform/private_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <utility>

namespace torvanik {
namespace {

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

// The folder, opened without following a link, when it is a folder of the user's own;
// one that others may enter is closed to them.
Descriptor OpenPrivateFolder(const std::string& folder, int& error) {
    Descriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    error = fd.get() < 0 ? errno : 0;
    struct stat info {};
    if (fd.get() < 0 || fstat(fd.get(), &info) != 0) {
        return Descriptor(-1);
    }
    if (info.st_uid != geteuid() ||
        ((info.st_mode & 077) != 0 && fchmod(fd.get(), info.st_mode & 0700) != 0)) {
        error = EPERM;
        return Descriptor(-1);
    }
    return Descriptor(fd.release());
}

}  // namespace

PrivateFile ReadPrivateFile(const std::string& folder, const std::string& name, std::size_t most) {
    using Result = PrivateFile::Result;
    int error = 0;
    const Descriptor dir = OpenPrivateFolder(folder, error);
    if (dir.get() < 0) {
        return {error == ENOENT ? Result::kMissing : Result::kFolderUnsafe, {}, error};
    }
    const Descriptor fd(
        openat(dir.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        if (errno == ENOENT) {
            return {Result::kMissing, {}, 0};
        }
        return {errno == ELOOP ? Result::kNotRegular : Result::kFailed, {}, errno};
    }
    struct stat info {};
    if (fstat(fd.get(), &info) != 0) {
        return {Result::kFailed, {}, errno};
    }
    if (!S_ISREG(info.st_mode)) {
        return {Result::kNotRegular, {}, 0};
    }
    if (info.st_uid != geteuid()) {
        return {Result::kOtherOwner, {}, 0};
    }
    if (static_cast<std::uintmax_t>(info.st_size) > most) {
        return {Result::kTooLarge, {}, 0};
    }
    // Read one byte past the bound, so that a file grown since the look is caught.
    std::string bytes(most + 1, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return {Result::kFailed, {}, errno};
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    if (got > most) {
        return {Result::kTooLarge, {}, 0};
    }
    bytes.resize(got);
    return {Result::kRead, std::move(bytes), 0};
}

bool MakePrivateFolder(const std::string& folder) {
    const std::filesystem::path path(folder);
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    mkdir(folder.c_str(), 0700);
    int error = 0;
    return OpenPrivateFolder(folder, error).get() >= 0;
}

void RemovePrivateFile(const std::string& folder, const std::string& name) {
    int error = 0;
    const Descriptor dir = OpenPrivateFolder(folder, error);
    struct stat info {};
    if (dir.get() >= 0 && fstatat(dir.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(info.st_mode) && info.st_uid == geteuid()) {
        unlinkat(dir.get(), name.c_str(), 0);
    }
}

}  // namespace torvanik
