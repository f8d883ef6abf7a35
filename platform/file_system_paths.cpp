#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <limits>

#include "platform/why_of_error.h"

// The file system's calls on names and folders: no open file of their own to hand out.
namespace torvanik {
namespace {

// Bytes the regular files directly in `directory` take, in whole clusters of `clusterBytes`.
Result<std::uint64_t> ClusterBytesUsed(const std::string& directory, std::uint64_t clusterBytes) {
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr) {
        return SystemFailure();
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

}  // namespace

Result<void> FileSystem::Remove(const std::string& path) {
    if (std::remove(path.c_str()) != 0) {
        return SystemFailure();
    }
    return {};
}

Result<void> FileSystem::Rename(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        return SystemFailure();
    }
    return {};
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

Result<std::uint64_t> FileSystem::FreeBytes(const DiskInDrive& drive) {
    struct statvfs info {};
    if (statvfs(drive.folder.c_str(), &info) != 0) {
        return SystemFailure();
    }
    std::uint64_t free = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    if (drive.capacity) {
        const auto used = ClusterBytesUsed(drive.folder, drive.clusterBytes);
        if (!used) {
            return used.why();
        }
        const std::uint64_t left = *drive.capacity > *used ? *drive.capacity - *used : 0;
        free = std::min(free, left);
    }
    return free;
}

Result<FileTimes> FileSystem::ReadTimes(const std::string& path) {
    struct statx info {};
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_ATIME | STATX_MTIME | STATX_BTIME, &info) != 0) {
        return SystemFailure();
    }
    const auto toTimespec = [](const struct statx_timestamp& t) {
        return timespec{static_cast<time_t>(t.tv_sec), static_cast<long>(t.tv_nsec)};
    };
    FileTimes times;
    times.access = toTimespec(info.stx_atime);
    times.write = toTimespec(info.stx_mtime);
    if ((info.stx_mask & STATX_BTIME) != 0) {
        times.creation = toTimespec(info.stx_btime);
    }
    return times;
}

Result<void> FileSystem::WriteTimes(const std::string& path, const FileTimes& times) {
    const timespec both[2] = {times.access, times.write};
    if (utimensat(AT_FDCWD, path.c_str(), both, 0) != 0) {
        return SystemFailure();
    }
    return {};
}

}  // namespace torvanik
