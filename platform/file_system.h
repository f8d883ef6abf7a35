#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>

#include "platform/drive_map.h"

// The engine's only way to the files: C stdio streams, file times and free space.
// Every call is virtual so that a test can make one fail at a chosen point.
namespace torvanik {

// Creation, last access and last write. Linux can set the last two (nanoseconds kept);
// a creation time is read where the file system keeps one, and never set.
struct FileTimes {
    std::optional<timespec> creation;
    timespec access{};
    timespec write{};
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // fopen; paths are host paths in UTF-8.
    virtual std::FILE* Open(const std::string& path, const char* mode);
    // Opens an existing regular file for reading ("rb"); none for folders and the like.
    virtual std::FILE* OpenRegular(const std::string& path);
    // One item of `size` bytes; true only when all of it went through.
    virtual bool Read(void* buffer, std::size_t size, std::FILE* stream);
    virtual bool Write(const void* buffer, std::size_t size, std::FILE* stream);
    // Starts sending `length` bytes of the stream's file from `offset` on to the medium and
    // returns without waiting for them.
    virtual void StartWriteBack(std::FILE* stream, std::int64_t offset, std::int64_t length);
    virtual std::optional<std::int64_t> Position(std::FILE* stream);
    // Flushes the stream and its file to the medium.
    virtual bool Commit(std::FILE* stream);
    virtual bool Close(std::FILE* stream);
    virtual bool Remove(const std::string& path);
    // Size of an open stream (from its end); the position is kept at the start.
    virtual std::optional<std::int64_t> Size(std::FILE* stream);
    virtual bool Seek(std::FILE* stream, std::int64_t position);
    // Cuts the stream's file to `length` bytes and puts the position there.
    virtual bool Truncate(std::FILE* stream, std::int64_t length);
    virtual std::optional<std::uint64_t> FreeBytes(const DriveMapping& drive);
    virtual bool ReadTimes(const std::string& path, FileTimes& times);
    virtual bool WriteTimes(const std::string& path, const FileTimes& times);
};

}  // namespace torvanik
