#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <limits>

namespace torvanik {
namespace {

// Bytes the regular files directly in `directory` take, in whole clusters of `clusterBytes`.
std::optional<std::uint64_t> ClusterBytesUsed(const std::string& directory,
                                              std::uint64_t clusterBytes) {
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    std::uint64_t used = 0;
    while (const dirent* entry = readdir(dir)) {
        struct stat info {};
        if (fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            const auto size = static_cast<std::uint64_t>(info.st_size);
            used += (size + clusterBytes - 1) / clusterBytes * clusterBytes;
        }
    }
    closedir(dir);
    return used;
}

// A stream on `fd` that blocks as any file does; the descriptor is closed on failure.
std::FILE* StreamOf(int fd, const char* mode) {
    const int flags = fcntl(fd, F_GETFL);
    std::FILE* stream = nullptr;
    if (flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0) {
        stream = fdopen(fd, mode);
    }
    if (stream == nullptr) {
        const int error = errno;
        close(fd);
        errno = error;
    }
    return stream;
}

FileIdentity IdentityOf(const struct stat& info) {
    return {info.st_dev, info.st_ino, static_cast<std::int64_t>(info.st_size)};
}

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// File systems whose files' lengths are made up as they are read.
constexpr std::array<unsigned long, 9> kPseudoFileSystems = {
    PROC_SUPER_MAGIC,    SYSFS_MAGIC,      DEBUGFS_MAGIC,
    TRACEFS_MAGIC,       SECURITYFS_MAGIC, CGROUP_SUPER_MAGIC,
    CGROUP2_SUPER_MAGIC, BPF_FS_MAGIC,     0x62656570 /* configfs */,
};

// A stream on `fd` when it is a regular file; anything else is closed and refused.
OpenedFile RegularStreamOf(int fd, const char* mode) {
    if (fd < 0) {
        return {nullptr, errno, false};
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        const int error = errno;
        close(fd);
        return {nullptr, error, false};
    }
    if (!S_ISREG(info.st_mode)) {
        close(fd);
        return {nullptr, 0, true};
    }
    std::FILE* stream = StreamOf(fd, mode);
    return {stream, stream == nullptr ? errno : 0, false};
}

}  // namespace

OpenedFile OpenRegularFile(const std::string& path, Links links) {
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (links == Links::Refuse ? O_NOFOLLOW : 0);
    return RegularStreamOf(open(path.c_str(), flags), "rb");
}

OpenedFile FileSystem::OpenRegular(const std::string& path, Links links) {
    return OpenRegularFile(path, links);
}

std::FILE* FileSystem::CreateNew(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    return fd < 0 ? nullptr : StreamOf(fd, "wb");
}

OpenedFile FileSystem::OpenToContinue(const std::string& path) {
    return RegularStreamOf(open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC), "wb");
}

OpenedFile FileSystem::CreateOrEmpty(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    OpenedFile opened = RegularStreamOf(fd, "wb");
    if (opened.stream != nullptr && ftruncate(fileno(opened.stream), 0) != 0) {
        opened.error = errno;
        std::fclose(opened.stream);
        opened.stream = nullptr;
    }
    return opened;
}

bool FileSystem::Read(void* buffer, std::size_t size, std::FILE* stream) {
    return size == 0 || std::fread(buffer, size, 1, stream) == 1;
}

bool FileSystem::Write(const void* buffer, std::size_t size, std::FILE* stream) {
    return size == 0 || std::fwrite(buffer, size, 1, stream) == 1;
}

void FileSystem::StartWriteBack(std::FILE* stream, std::int64_t offset, std::int64_t length) {
    sync_file_range(fileno(stream), static_cast<off_t>(offset), static_cast<off_t>(length),
                    SYNC_FILE_RANGE_WRITE);
}

bool FileSystem::WaitForWriteBack(std::FILE* stream, std::int64_t offset, std::int64_t length) {
    return sync_file_range(fileno(stream), static_cast<off_t>(offset), static_cast<off_t>(length),
                           SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                               SYNC_FILE_RANGE_WAIT_AFTER) == 0;
}

std::optional<std::int64_t> FileSystem::Position(std::FILE* stream) {
    const off_t position = ftello(stream);
    if (position < 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(position);
}

bool FileSystem::Commit(std::FILE* stream) {
    return std::fflush(stream) == 0 && fsync(fileno(stream)) == 0;
}

bool FileSystem::Close(std::FILE* stream) {
    return std::fclose(stream) == 0;
}

bool FileSystem::Remove(const std::string& path) {
    return std::remove(path.c_str()) == 0;
}

bool FileSystem::Rename(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool FileSystem::SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = fsync(fd) == 0;
    const int error = errno;
    close(fd);
    errno = error;
    return synced;
}

int FileSystem::LockFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

void FileSystem::Unlock(int lock) {
    close(lock);
}

std::vector<std::string> FileSystem::NamesStartingWith(const std::string& folder,
                                                       std::string_view prefix) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(dir)) {
        if (std::string_view(entry->d_name).starts_with(prefix)) {
            names.emplace_back(entry->d_name);
        }
    }
    closedir(dir);
    return names;
}

std::uint64_t FileSystem::LargestFile(const std::string& folder) {
    std::uint64_t largest = std::numeric_limits<std::int64_t>::max();
    struct statfs info {};
    if (statfs(folder.c_str(), &info) == 0 && info.f_type == MSDOS_SUPER_MAGIC) {
        largest = (std::uint64_t{1} << 32) - 1;
    }
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        largest = std::min<std::uint64_t>(largest, limit.rlim_cur);
    }
    return largest;
}

std::optional<FileIdentity> FileSystem::Identify(std::FILE* stream) {
    struct stat info {};
    if (fstat(fileno(stream), &info) != 0) {
        return std::nullopt;
    }
    return IdentityOf(info);
}

std::optional<FileIdentity> FileSystem::Identify(const std::string& path, Links links) {
    struct stat info {};
    const int result =
        links == Links::Follow ? stat(path.c_str(), &info) : lstat(path.c_str(), &info);
    if (result != 0) {
        return std::nullopt;
    }
    return IdentityOf(info);
}

bool FileStamp::operator==(const FileStamp& other) const {
    return identity.SameFile(other.identity) && identity.size == other.identity.size &&
           SameTime(modified, other.modified) && SameTime(changed, other.changed);
}

std::optional<FileStamp> FileSystem::Stamp(std::FILE* stream) {
    struct stat info {};
    if (fstat(fileno(stream), &info) != 0) {
        return std::nullopt;
    }
    return FileStamp{IdentityOf(info), info.st_mtim, info.st_ctim};
}

bool FileSystem::OnPseudoFileSystem(std::FILE* stream) {
    struct statfs info {};
    if (fstatfs(fileno(stream), &info) != 0) {
        return false;
    }
    const auto type = static_cast<unsigned long>(info.f_type);
    return std::find(kPseudoFileSystems.begin(), kPseudoFileSystems.end(), type) !=
           kPseudoFileSystems.end();
}

std::optional<std::int64_t> FileSystem::Size(std::FILE* stream) {
    if (fseeko(stream, 0, SEEK_END) != 0) {
        return std::nullopt;
    }
    const off_t size = ftello(stream);
    if (size < 0 || fseeko(stream, 0, SEEK_SET) != 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(size);
}

bool FileSystem::Seek(std::FILE* stream, std::int64_t position) {
    return fseeko(stream, static_cast<off_t>(position), SEEK_SET) == 0;
}

bool FileSystem::Truncate(std::FILE* stream, std::int64_t length) {
    std::clearerr(stream);
    std::fflush(stream);
    std::clearerr(stream);
    return ftruncate(fileno(stream), static_cast<off_t>(length)) == 0 && Seek(stream, length);
}

std::optional<std::uint64_t> FileSystem::FreeBytes(const DiskInDrive& drive) {
    struct statvfs info {};
    if (statvfs(drive.folder.c_str(), &info) != 0) {
        return std::nullopt;
    }
    std::uint64_t free = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    if (drive.capacity) {
        const auto used = ClusterBytesUsed(drive.folder, drive.clusterBytes);
        if (!used) {
            return std::nullopt;
        }
        const std::uint64_t left = *drive.capacity > *used ? *drive.capacity - *used : 0;
        free = std::min(free, left);
    }
    return free;
}

bool FileSystem::ReadTimes(const std::string& path, FileTimes& times) {
    struct statx info {};
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_ATIME | STATX_MTIME | STATX_BTIME, &info) != 0) {
        return false;
    }
    const auto toTimespec = [](const struct statx_timestamp& t) {
        return timespec{static_cast<time_t>(t.tv_sec), static_cast<long>(t.tv_nsec)};
    };
    times.access = toTimespec(info.stx_atime);
    times.write = toTimespec(info.stx_mtime);
    times.creation.reset();
    if ((info.stx_mask & STATX_BTIME) != 0) {
        times.creation = toTimespec(info.stx_btime);
    }
    return true;
}

bool FileSystem::WriteTimes(const std::string& path, const FileTimes& times) {
    const timespec both[2] = {times.access, times.write};
    return utimensat(AT_FDCWD, path.c_str(), both, 0) == 0;
}

int FileSystem::OpenForReadBack(const std::string& path, int flags) {
    return open(path.c_str(), flags);
}

int FileSystem::Advise(int fd, std::int64_t offset, std::int64_t length, int advice) {
    return posix_fadvise(fd, static_cast<off_t>(offset), static_cast<off_t>(length), advice);
}

std::int64_t FileSystem::ReadAt(int fd, void* buffer, std::size_t size, std::int64_t offset) {
    return pread(fd, buffer, size, static_cast<off_t>(offset));
}

std::chrono::steady_clock::time_point FileSystem::Now() {
    return std::chrono::steady_clock::now();
}

}  // namespace torvanik
