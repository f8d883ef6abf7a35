#include "platform/private_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>

#include "platform/owned_fd.h"

namespace torvanik {
namespace {

Why Refused(Reason reason, int error = 0) {
    return {reason, error};
}

// The folder, opened without following a link, when it is a folder of the user's own;
// one that others may enter is closed to them.
Result<OwnedFd> OpenPrivateFolder(const std::string& folder) {
    OwnedFd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!fd.valid() || fstat(fd.get(), &info) != 0) {
        return Refused(Reason::kStateFolderUnsafe, errno);
    }
    if (info.st_uid != geteuid() ||
        ((info.st_mode & 077) != 0 && fchmod(fd.get(), info.st_mode & 0700) != 0)) {
        return Refused(Reason::kStateFolderUnsafe, EPERM);
    }
    return fd;
}

// At most `most` bytes of `fd`; one byte past the bound is read, so that a file grown since
// it was looked at is caught.
Result<std::string> ReadBounded(const OwnedFd& fd, std::size_t most) {
    std::string bytes(most + 1, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return Refused(Reason::kRecordDamaged, errno);
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    if (got > most) {
        return Refused(Reason::kRecordTooLarge);
    }
    bytes.resize(got);
    return bytes;
}

}  // namespace

Result<std::optional<std::string>> ReadPrivateFile(const std::string& folder,
                                                   const std::string& name, std::size_t most) {
    const Result<OwnedFd> dir = OpenPrivateFolder(folder);
    if (!dir) {
        if (dir.why().error == ENOENT) {
            return std::optional<std::string>();
        }
        return Refused(Reason::kStateFolderUnsafe);
    }
    const OwnedFd fd(openat(dir->get(), name.c_str(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat info {};
    if (!fd.valid()) {
        if (errno == ENOENT) {
            return std::optional<std::string>();
        }
        return errno == ELOOP ? Refused(Reason::kRecordNotRegular)
                              : Refused(Reason::kRecordDamaged, errno);
    }
    if (fstat(fd.get(), &info) != 0) {
        return Refused(Reason::kRecordDamaged, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return Refused(Reason::kRecordNotRegular);
    }
    if (info.st_uid != geteuid()) {
        return Refused(Reason::kRecordOfOtherUser);
    }
    if (static_cast<std::uintmax_t>(info.st_size) > most) {
        return Refused(Reason::kRecordTooLarge);
    }
    Result<std::string> bytes = ReadBounded(fd, most);
    if (!bytes) {
        return bytes.why();
    }
    return std::optional<std::string>(std::move(*bytes));
}

Result<void> MakePrivateFolder(const std::string& folder) {
    const std::filesystem::path path(folder);
    // A folder that can't be made is found missing below.
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    mkdir(folder.c_str(), 0700);
    if (const Result<OwnedFd> dir = OpenPrivateFolder(folder); !dir) {
        return dir.why();
    }
    return {};
}

void RemovePrivateFile(const std::string& folder, const std::string& name) {
    const Result<OwnedFd> dir = OpenPrivateFolder(folder);
    struct stat info {};
    if (dir && fstatat(dir->get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(info.st_mode) && info.st_uid == geteuid()) {
        unlinkat(dir->get(), name.c_str(), 0);
    }
}

}  // namespace torvanik
