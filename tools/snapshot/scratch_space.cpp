#include "tools/snapshot/scratch_space.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace torvanik::snapshot {
namespace {

constexpr const char* kShownFolder = "/tmp/torvanik";

// Files the scenes leave in /tmp/torvanik, removed again at the end.
constexpr const char* kShownLeftovers[] = {"ut/bilde.bmp", "ut", "bilde.bmp"};

}  // namespace

Result<std::unique_ptr<ScratchSpace>> ScratchSpace::Make() {
    bool madeShownFolder = false;
    if (mkdir(kShownFolder, 0700) == 0) {
        madeShownFolder = true;
    } else if (errno != EEXIST) {
        return Why{.text =
                       std::string("cannot make ") + kShownFolder + ": " + std::strerror(errno)};
    }
    struct stat shown {};
    if (lstat(kShownFolder, &shown) != 0 || !S_ISDIR(shown.st_mode) || shown.st_uid != getuid()) {
        return Why{.text = std::string(kShownFolder) + " is not a folder of this user"};
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "torvanik-snapshot-XXXXXX");
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) {
        return Why{.text = std::string("cannot make a temporary folder: ") + std::strerror(errno)};
    }
    return std::unique_ptr<ScratchSpace>(new ScratchSpace(name.data(), madeShownFolder));
}

ScratchSpace::ScratchSpace(std::string privateFolder, bool madeShownFolder)
    : privateFolder_(std::move(privateFolder)), madeShownFolder_(madeShownFolder) {}

ScratchSpace::~ScratchSpace() {
    std::error_code ignored;
    std::filesystem::remove_all(privateFolder_, ignored);
    for (const char* leftover : kShownLeftovers) {
        std::filesystem::remove(Shown(leftover), ignored);
    }
    if (madeShownFolder_) {
        std::filesystem::remove(kShownFolder, ignored);
    }
}

std::string ScratchSpace::Folder(const std::string& name) const {
    const std::filesystem::path folder = std::filesystem::path(privateFolder_) / name;
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder.string();
}

std::string ScratchSpace::Shown(const std::string& name) {
    return std::string(kShownFolder) + "/" + name;
}

}  // namespace torvanik::snapshot
