#pragma once

#include <string>
#include <string_view>

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
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&& other) noexcept;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile();

    // Writes `bytes` as the replacement for `path`; the folder is made when missing. Not
    // written() when that failed.
    static StagedFile Write(const std::string& path, std::string_view bytes);

    bool written() const { return fd_ >= 0; }
    // Flushes the replacement and renames it over the file (never through a link). A power
    // cut right after may leave the file before it, never a mix. False when it failed.
    bool Place();

  private:
    void Drop();

    int fd_ = -1;
    std::string path_;
    std::string temporary_;
};

// Replaces the file at `path` with `bytes` at once, whole or not at all, as StagedFile
// does. False when it failed.
bool ReplaceFileWhole(const std::string& path, std::string_view bytes);

}  // namespace torvanik
