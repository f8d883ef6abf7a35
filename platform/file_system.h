#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/drive_map.h"
#include "platform/result.h"

// The engine's only way to the files: owned open files, file times, free space and the
// clock that times the medium.
// Every call is virtual so that a test can make one fail at a chosen point.
namespace torvanik {

// Creation, last access and last write. Linux can set the last two (nanoseconds kept);
// a creation time is read where the file system keeps one, and never set.
struct FileTimes {
    std::optional<timespec> creation;
    timespec access{};
    timespec write{};
};

// Which file a name or a stream stands for, and how long it is.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    std::int64_t size = 0;

    bool SameFile(const FileIdentity& other) const {
        return device == other.device && inode == other.inode;
    }
};

// A file as it stands: which file and how long, and when its bytes and its entry last
// changed. Any change by another program moves one of them.
struct FileStamp {
    FileIdentity identity;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileStamp& other) const;
};

// How a failed open is told: as `otherwise`, or as `notRegular` where something other
// than a regular file (or a link where none may be) stands there. With no reasons, the
// failure is the system's as it came (error 0 for something other than a regular file).
struct OpenReasons {
    Reason otherwise = Reason::kNone;
    Reason notRegular = Reason::kNone;
};

enum class Links { Follow, Refuse };

// An open file, or a folder held locked: closed by itself when it goes, on every path. A
// close whose result matters is FileSystem::Close.
class File {
  public:
    // The descriptor, and the buffered stream over it where there is one: known to the
    // file system alone.
    struct Handle;

    File() = default;
    explicit File(Handle* handle) : handle_(handle) {}
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    explicit operator bool() const { return handle_ != nullptr; }
    Handle& handle() const { return *handle_; }

    // Reads and writes go straight to the file, with no buffer of the handle's own: the
    // copy loop moves whole blocks, and with a buffer every block would reach the file in
    // two misaligned pieces.
    void Unbuffer();
    // The next byte of a file read as a short text; none at its end, or where a read
    // fails: the readers of INFO.FIL and the drives file take both alike.
    std::optional<unsigned char> NextByte();

  private:
    Handle* handle_ = nullptr;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Opens an existing regular file for reading without waiting on it: a FIFO or a device
    // fails at once, as not regular; with Links::Refuse a symbolic link fails too. Paths
    // are host paths in UTF-8.
    virtual Result<File> OpenRegular(const std::string& path, Links links, const OpenReasons& told);
    // Creates `path` for writing; fails when anything is there (EEXIST), a dangling link
    // included.
    virtual Result<File> CreateNew(const std::string& path);
    // Creates or empties a regular file for writing; anything else fails at once, as not
    // regular.
    virtual Result<File> CreateOrEmpty(const std::string& path, const OpenReasons& told);
    // A file with no name in `folder`, for reading and writing, gone once closed; its writes
    // go straight to the file, so that ReadAt sees them.
    virtual Result<File> CreateUnnamed(const std::string& folder);
    // A path that leads to the open file as long as it is open, a file with no name too.
    virtual std::string PathOf(File& file);
    // Opens an existing regular file for writing as it is, for a join that goes on.
    virtual Result<File> OpenToContinue(const std::string& path, const OpenReasons& told);
    // Reads up to `size` bytes: all of them, or fewer only where the file ended first.
    virtual Result<std::size_t> Read(void* buffer, std::size_t size, File& file);
    // Writes all `size` bytes, or fails.
    virtual Result<void> Write(const void* buffer, std::size_t size, File& file);
    // Starts sending `length` bytes of the file from `offset` on to the medium and returns
    // without waiting for them; a medium that does not take them fails the wait for them.
    virtual void StartWriteBack(File& file, std::int64_t offset, std::int64_t length);
    // Waits until `length` bytes of the file from `offset` on are on the medium, sending
    // on what is not yet.
    virtual Result<void> WaitForWriteBack(File& file, std::int64_t offset, std::int64_t length);
    virtual Result<std::int64_t> Position(File& file);
    // Flushes the file's buffer and the file to the medium.
    virtual Result<void> Commit(File& file);
    virtual Result<void> Close(File file);
    virtual Result<void> Remove(const std::string& path);
    // Puts `from` under the name `to`, replacing whatever `to` was (a link itself, never
    // its target).
    virtual Result<void> Rename(const std::string& from, const std::string& to);
    // Flushes the folder's entries to the medium.
    virtual Result<void> SyncFolder(const std::string& folder);
    // An exclusive lock on the folder, for other programs too, held until the File goes;
    // EWOULDBLOCK when another holds it.
    virtual Result<File> LockFolder(const std::string& folder);
    // The names directly in `folder` that start with `prefix`; none where it can't be read.
    virtual std::vector<std::string> NamesStartingWith(const std::string& folder,
                                                       std::string_view prefix);
    // The largest file that can be written in `folder`: the file system's own limit
    // (FAT: 4 GiB - 1) and this process's file-size limit.
    virtual std::uint64_t LargestFile(const std::string& folder);
    virtual Result<FileIdentity> Identify(File& file);
    virtual Result<FileIdentity> Identify(const std::string& path, Links links);
    virtual Result<FileStamp> Stamp(File& file);
    // A file whose length the kernel makes up as it is read (/proc, /sys and their like).
    virtual bool OnPseudoFileSystem(File& file);
    // Size of an open file (from its end); the position is kept at the start.
    virtual Result<std::int64_t> Size(File& file);
    virtual Result<void> Seek(File& file, std::int64_t position);
    // Cuts the file to `length` bytes and puts the position there.
    virtual Result<void> Truncate(File& file, std::int64_t length);
    virtual Result<std::uint64_t> FreeBytes(const DiskInDrive& drive);
    virtual Result<FileTimes> ReadTimes(const std::string& path);
    virtual Result<void> WriteTimes(const std::string& path, const FileTimes& times);

    // The read-back from the medium goes through open(2), posix_fadvise(2) and pread(2)
    // here, so that a test can see the flags and advice used and spoil what comes back.
    virtual Result<File> OpenForReadBack(const std::string& path, int flags);
    virtual Result<void> Advise(File& file, std::int64_t offset, std::int64_t length, int advice);
    // The bytes read at `offset`, 0 at the end of the file.
    virtual Result<std::int64_t> ReadAt(File& file, void* buffer, std::size_t size,
                                        std::int64_t offset);

    // The clock that times the medium: how fast it takes the bytes written and gives back
    // the bytes read.
    virtual std::chrono::steady_clock::time_point Now();
};

// The non-blocking, regular-files-only open of FileSystem::OpenRegular, for readers
// outside the engine (settings, drives file).
Result<File> OpenRegularFile(const std::string& path, Links links, const OpenReasons& told);

}  // namespace torvanik
