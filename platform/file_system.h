#pragma once

#include <sys/types.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/drive_map.h"

// The engine's only way to the files: C stdio streams, file times, free space and the clock
// that times the medium.
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

// An opened file, or why there is none.
struct OpenedFile {
    std::FILE* stream = nullptr;
    int error = 0;            // errno of the call that failed
    bool notRegular = false;  // a FIFO, a device or a folder stands there
};

enum class Links { Follow, Refuse };

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Opens an existing regular file for reading ("rb") without waiting on it: a FIFO or
    // a device fails at once, as not regular; with Links::Refuse a symbolic link fails too
    // (ELOOP). Paths are host paths in UTF-8.
    virtual OpenedFile OpenRegular(const std::string& path, Links links = Links::Follow);
    // Creates `path` for writing; fails when anything is there, a dangling link included.
    virtual std::FILE* CreateNew(const std::string& path);
    // Creates or empties a regular file for writing ("wb"); anything else fails at once,
    // as not regular.
    virtual OpenedFile CreateOrEmpty(const std::string& path);
    // Opens an existing regular file for writing as it is, for a join that goes on.
    virtual OpenedFile OpenToContinue(const std::string& path);
    // One item of `size` bytes; true only when all of it went through.
    virtual bool Read(void* buffer, std::size_t size, std::FILE* stream);
    virtual bool Write(const void* buffer, std::size_t size, std::FILE* stream);
    // Starts sending `length` bytes of the stream's file from `offset` on to the medium and
    // returns without waiting for them.
    virtual void StartWriteBack(std::FILE* stream, std::int64_t offset, std::int64_t length);
    // Waits until `length` bytes of the stream's file from `offset` on are on the medium,
    // sending on what is not yet; false and errno when the medium did not take them.
    virtual bool WaitForWriteBack(std::FILE* stream, std::int64_t offset, std::int64_t length);
    virtual std::optional<std::int64_t> Position(std::FILE* stream);
    // Flushes the stream and its file to the medium.
    virtual bool Commit(std::FILE* stream);
    virtual bool Close(std::FILE* stream);
    virtual bool Remove(const std::string& path);
    // Puts `from` under the name `to`, replacing whatever `to` was (a link itself, never
    // its target).
    virtual bool Rename(const std::string& from, const std::string& to);
    // Flushes the folder's entries to the medium.
    virtual bool SyncFolder(const std::string& folder);
    // An exclusive lock on the folder, for other programs too; -1 (errno EWOULDBLOCK
    // when another holds it) on failure.
    virtual int LockFolder(const std::string& folder);
    virtual void Unlock(int lock);
    // The names directly in `folder` that start with `prefix`.
    virtual std::vector<std::string> NamesStartingWith(const std::string& folder,
                                                       std::string_view prefix);
    // The largest file that can be written in `folder`: the file system's own limit
    // (FAT: 4 GiB - 1) and this process's file-size limit.
    virtual std::uint64_t LargestFile(const std::string& folder);
    virtual std::optional<FileIdentity> Identify(std::FILE* stream);
    virtual std::optional<FileIdentity> Identify(const std::string& path, Links links);
    virtual std::optional<FileStamp> Stamp(std::FILE* stream);
    // A file whose length the kernel makes up as it is read (/proc, /sys and their like).
    virtual bool OnPseudoFileSystem(std::FILE* stream);
    // Size of an open stream (from its end); the position is kept at the start.
    virtual std::optional<std::int64_t> Size(std::FILE* stream);
    virtual bool Seek(std::FILE* stream, std::int64_t position);
    // Cuts the stream's file to `length` bytes and puts the position there.
    virtual bool Truncate(std::FILE* stream, std::int64_t length);
    virtual std::optional<std::uint64_t> FreeBytes(const DiskInDrive& drive);
    virtual bool ReadTimes(const std::string& path, FileTimes& times);
    virtual bool WriteTimes(const std::string& path, const FileTimes& times);

    // The read-back from the medium goes through open(2), posix_fadvise(2) and pread(2)
    // here, so that a test can see the flags and advice used and spoil what comes back.
    // -1 and errno on failure; Advise returns the error number, 0 when it went through.
    virtual int OpenForReadBack(const std::string& path, int flags);
    virtual int Advise(int fd, std::int64_t offset, std::int64_t length, int advice);
    virtual std::int64_t ReadAt(int fd, void* buffer, std::size_t size, std::int64_t offset);

    // The clock that times the medium: how fast it takes the bytes written and gives back
    // the bytes read.
    virtual std::chrono::steady_clock::time_point Now();
};

// The non-blocking, regular-files-only open of FileSystem::OpenRegular, for readers
// outside the engine (settings, drives file).
OpenedFile OpenRegularFile(const std::string& path, Links links);

}  // namespace torvanik
