#include "platform/file_system.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "platform/why_of_error.h"

namespace torvanik {

struct File::Handle {
    int descriptor = -1;
    std::FILE* stream = nullptr;  // none: the descriptor alone

    // Closes the stream, or the descriptor alone; false, with errno, when that failed.
    bool Close() {
        const bool closed = stream != nullptr ? std::fclose(stream) == 0 : close(descriptor) == 0;
        stream = nullptr;
        descriptor = -1;
        return closed;
    }
};

File::~File() {
    if (handle_ != nullptr && handle_->descriptor >= 0) {
        handle_->Close();
    }
    delete handle_;
}

File::File(File&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

File& File::operator=(File&& other) noexcept {
    File gone(std::move(*this));
    handle_ = std::exchange(other.handle_, nullptr);
    return *this;
}

void File::Unbuffer() {
    std::setvbuf(handle_->stream, nullptr, _IONBF, 0);
}

std::optional<unsigned char> File::NextByte() {
    const int c = std::getc(handle_->stream);
    if (c == EOF) {
        return std::nullopt;
    }
    return static_cast<unsigned char>(c);
}

namespace {

File FileOnDescriptor(int fd) {
    return File(new File::Handle{fd, nullptr});
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

// A failed open told as `told` says; `error` 0 for something other than a regular file.
Why OpenFailure(int error, const OpenReasons& told) {
    if (told.otherwise == Reason::kNone && told.notRegular == Reason::kNone) {
        return {Reason::kNone, error, {}};
    }
    if (error == 0) {
        return {told.notRegular != Reason::kNone ? told.notRegular : told.otherwise, 0, {}};
    }
    return WhyFromError(error, told.otherwise, told.notRegular);
}

// Puts a stream in `mode` over the file's descriptor, one that blocks as any file does.
Result<void> AddStream(File& file, const char* mode) {
    File::Handle& handle = file.handle();
    const int flags = fcntl(handle.descriptor, F_GETFL);
    if (flags < 0 || fcntl(handle.descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return SystemFailure();
    }
    handle.stream = fdopen(handle.descriptor, mode);
    if (handle.stream == nullptr) {
        return SystemFailure();
    }
    return {};
}

Result<File> StreamOn(int fd, const char* mode) {
    if (fd < 0) {
        return SystemFailure();
    }
    File file = FileOnDescriptor(fd);
    if (auto added = AddStream(file, mode); !added) {
        return added.why();
    }
    return file;
}

// A stream on `fd` when it is a regular file; anything else is closed and refused.
Result<File> RegularStreamOn(int fd, const char* mode, const OpenReasons& told) {
    if (fd < 0) {
        return OpenFailure(errno, told);
    }
    File file = FileOnDescriptor(fd);
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        return OpenFailure(errno, told);
    }
    if (!S_ISREG(info.st_mode)) {
        return OpenFailure(0, told);
    }
    if (auto added = AddStream(file, mode); !added) {
        return OpenFailure(added.why().error, told);
    }
    return file;
}

}  // namespace

Result<File> OpenRegularFile(const std::string& path, Links links, const OpenReasons& told) {
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (links == Links::Refuse ? O_NOFOLLOW : 0);
    return RegularStreamOn(open(path.c_str(), flags), "rb", told);
}

Result<File> FileSystem::OpenRegular(const std::string& path, Links links,
                                     const OpenReasons& told) {
    return OpenRegularFile(path, links, told);
}

Result<File> FileSystem::CreateNew(const std::string& path) {
    return StreamOn(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666),
                    "wb");
}

Result<File> FileSystem::CreateUnnamed(const std::string& folder) {
    int fd = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // A file system without unnamed files: a private name, taken away at once.
        std::string path = folder + "/.~torvanik.XXXXXX";
        fd = mkostemp(path.data(), O_CLOEXEC);
        if (fd >= 0 && unlink(path.c_str()) != 0) {
            close(fd);
            fd = -1;
        }
    }
    auto file = StreamOn(fd, "w+b");
    if (file) {
        file->Unbuffer();
    }
    return file;
}

std::string FileSystem::PathOf(File& file) {
    return "/proc/self/fd/" + std::to_string(file.handle().descriptor);
}

Result<File> FileSystem::OpenToContinue(const std::string& path, const OpenReasons& told) {
    return RegularStreamOn(open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC), "wb", told);
}

Result<File> FileSystem::CreateOrEmpty(const std::string& path, const OpenReasons& told) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    auto opened = RegularStreamOn(fd, "wb", told);
    if (opened && ftruncate(opened->handle().descriptor, 0) != 0) {
        return OpenFailure(errno, told);
    }
    return opened;
}

Result<std::size_t> FileSystem::Read(void* buffer, std::size_t size, File& file) {
    std::FILE* stream = file.handle().stream;
    const std::size_t got = size == 0 ? 0 : std::fread(buffer, 1, size, stream);
    if (got < size && std::ferror(stream) != 0) {
        return SystemFailure();
    }
    return got;
}

Result<void> FileSystem::Write(const void* buffer, std::size_t size, File& file) {
    if (size != 0 && std::fwrite(buffer, size, 1, file.handle().stream) != 1) {
        return SystemFailure();
    }
    return {};
}

void FileSystem::StartWriteBack(File& file, std::int64_t offset, std::int64_t length) {
    sync_file_range(file.handle().descriptor, static_cast<off_t>(offset),
                    static_cast<off_t>(length), SYNC_FILE_RANGE_WRITE);
}

Result<void> FileSystem::WaitForWriteBack(File& file, std::int64_t offset, std::int64_t length) {
    if (sync_file_range(
            file.handle().descriptor, static_cast<off_t>(offset), static_cast<off_t>(length),
            SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER) !=
        0) {
        return SystemFailure();
    }
    return {};
}

Result<std::int64_t> FileSystem::Position(File& file) {
    const off_t position = ftello(file.handle().stream);
    if (position < 0) {
        return SystemFailure();
    }
    return static_cast<std::int64_t>(position);
}

Result<void> FileSystem::Commit(File& file) {
    if (std::fflush(file.handle().stream) != 0 || fsync(file.handle().descriptor) != 0) {
        return SystemFailure();
    }
    return {};
}

Result<void> FileSystem::Close(File file) {
    if (!file.handle().Close()) {
        return SystemFailure();
    }
    return {};
}

Result<void> FileSystem::SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return SystemFailure();
    }
    const File held = FileOnDescriptor(fd);
    if (fsync(fd) != 0) {
        return SystemFailure();
    }
    return {};
}

Result<File> FileSystem::LockFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return SystemFailure();
    }
    File lock = FileOnDescriptor(fd);
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return SystemFailure();
    }
    return lock;
}

Result<FileIdentity> FileSystem::Identify(File& file) {
    struct stat info {};
    if (fstat(file.handle().descriptor, &info) != 0) {
        return SystemFailure();
    }
    return IdentityOf(info);
}

Result<FileIdentity> FileSystem::Identify(const std::string& path, Links links) {
    struct stat info {};
    const int result =
        links == Links::Follow ? stat(path.c_str(), &info) : lstat(path.c_str(), &info);
    if (result != 0) {
        return SystemFailure();
    }
    return IdentityOf(info);
}

bool FileStamp::operator==(const FileStamp& other) const {
    return identity.SameFile(other.identity) && identity.size == other.identity.size &&
           SameTime(modified, other.modified) && SameTime(changed, other.changed);
}

Result<FileStamp> FileSystem::Stamp(File& file) {
    struct stat info {};
    if (fstat(file.handle().descriptor, &info) != 0) {
        return SystemFailure();
    }
    return FileStamp{IdentityOf(info), info.st_mtim, info.st_ctim};
}

bool FileSystem::OnPseudoFileSystem(File& file) {
    struct statfs info {};
    if (fstatfs(file.handle().descriptor, &info) != 0) {
        return false;
    }
    const auto type = static_cast<unsigned long>(info.f_type);
    return std::find(kPseudoFileSystems.begin(), kPseudoFileSystems.end(), type) !=
           kPseudoFileSystems.end();
}

Result<std::int64_t> FileSystem::Size(File& file) {
    std::FILE* stream = file.handle().stream;
    if (fseeko(stream, 0, SEEK_END) != 0) {
        return SystemFailure();
    }
    const off_t size = ftello(stream);
    if (size < 0 || fseeko(stream, 0, SEEK_SET) != 0) {
        return SystemFailure();
    }
    return static_cast<std::int64_t>(size);
}

Result<void> FileSystem::Seek(File& file, std::int64_t position) {
    if (fseeko(file.handle().stream, static_cast<off_t>(position), SEEK_SET) != 0) {
        return SystemFailure();
    }
    return {};
}

Result<void> FileSystem::Truncate(File& file, std::int64_t length) {
    std::FILE* stream = file.handle().stream;
    std::clearerr(stream);
    std::fflush(stream);
    std::clearerr(stream);
    if (ftruncate(file.handle().descriptor, static_cast<off_t>(length)) != 0) {
        return SystemFailure();
    }
    return Seek(file, length);
}

Result<File> FileSystem::OpenForReadBack(const std::string& path, int flags) {
    const int fd = open(path.c_str(), flags);
    if (fd < 0) {
        return SystemFailure();
    }
    return FileOnDescriptor(fd);
}

Result<void> FileSystem::Advise(File& file, std::int64_t offset, std::int64_t length, int advice) {
    if (const int error = posix_fadvise(file.handle().descriptor, static_cast<off_t>(offset),
                                        static_cast<off_t>(length), advice);
        error != 0) {
        return Why{Reason::kNone, error, {}};
    }
    return {};
}

Result<std::int64_t> FileSystem::ReadAt(File& file, void* buffer, std::size_t size,
                                        std::int64_t offset) {
    const ssize_t got = pread(file.handle().descriptor, buffer, size, static_cast<off_t>(offset));
    if (got < 0) {
        return SystemFailure();
    }
    return static_cast<std::int64_t>(got);
}

std::chrono::steady_clock::time_point FileSystem::Now() {
    return std::chrono::steady_clock::now();
}

}  // namespace torvanik
