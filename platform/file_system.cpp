#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>

namespace torvanik {
namespace {

constexpr std::uint64_t kClusterBytes = 512;

std::uint64_t RoundUpToCluster(std::uint64_t size) {
    return (size + kClusterBytes - 1) / kClusterBytes * kClusterBytes;
}

// Bytes the regular files directly in `directory` take, in whole clusters.
std::optional<std::uint64_t> ClusterBytesUsed(const std::string& directory) {
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    std::uint64_t used = 0;
    while (const dirent* entry = readdir(dir)) {
        struct stat info {};
        if (fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            used += RoundUpToCluster(static_cast<std::uint64_t>(info.st_size));
        }
    }
    closedir(dir);
    return used;
}

}  // namespace

std::FILE* FileSystem::Open(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

std::FILE* FileSystem::OpenRegular(const std::string& path) {
    std::FILE* stream = Open(path, "rb");
    if (stream == nullptr) {
        return nullptr;
    }
    struct stat info {};
    if (fstat(fileno(stream), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(stream);
        return nullptr;
    }
    return stream;
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

std::optional<std::uint64_t> FileSystem::FreeBytes(const DriveMapping& drive) {
    struct statvfs info {};
    if (statvfs(drive.directory.c_str(), &info) != 0) {
        return std::nullopt;
    }
    std::uint64_t free = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    if (drive.capacity) {
        const auto used = ClusterBytesUsed(drive.directory);
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

}  // namespace torvanik
