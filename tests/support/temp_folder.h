#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace torvanik::testing {

// A fresh folder under the system's temporary folder, removed with its contents.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

std::vector<char> PatternBytes(std::size_t size, unsigned seed = 1);
void WriteBytes(const std::string& path, const std::vector<char>& bytes);
std::vector<char> ReadBytes(const std::string& path);

// The names of the files in `folder`, sorted.
std::vector<std::string> NamesIn(const std::string& folder);

// Moves every file out of `from` into `to` (made if missing), as a user swaps disks.
void MoveFiles(const std::string& from, const std::string& to);

}  // namespace torvanik::testing
