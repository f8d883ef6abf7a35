#pragma once

#include <string>
#include <string_view>

#include "platform/owned_fd.h"
#include "platform/result.h"

namespace torvanik {

// The program's temporaries start with this; one left by a killed program is known by it.
inline constexpr std::string_view kTemporaryPrefix = ".~torvanik.";

// A replacement for the file at a path, written whole under a temporary name beside it and
// sent on to the medium, but not yet in its place. Written just before a larger file of the
// same file system is flushed, it rides on that flush instead of taking one of its own.
// Thrown away unless placed.
class StagedFile {
  public:
    StagedFile() = default;
    StagedFile(StagedFile&& other) noexcept = default;
    StagedFile& operator=(StagedFile&& other) noexcept;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile();

    // Writes `bytes` as the replacement for `path`; the folder is made when missing.
    static Result<StagedFile> Write(const std::string& path, std::string_view bytes);

    // Not for one that is placed, or none at all.
    bool written() const { return fd_.valid(); }
    // Flushes the replacement and renames it over the file (never through a link). A power
    // cut right after may leave the file before it, never a mix.
    Result<void> Place();

  private:
    void Drop();

    OwnedFd fd_;
    std::string path_;
    std::string temporary_;
};

// Replaces the file at `path` with `bytes` at once, whole or not at all, as StagedFile
// does.
Result<void> ReplaceFileWhole(const std::string& path, std::string_view bytes);

}  // namespace torvanik
