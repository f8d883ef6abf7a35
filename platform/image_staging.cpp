#include "platform/image_staging.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/process_identity.h"

namespace torvanik {
namespace {

constexpr std::string_view kPrefix = "torvanik-disk-";

std::vector<std::string> Candidates() {
    std::vector<std::string> bases;
    const std::initializer_list<const char*> candidates = {std::getenv("XDG_RUNTIME_DIR"),
                                                           std::getenv("TMPDIR"), "/tmp"};
    for (const char* base : candidates) {
        if (base != nullptr && *base != '\0' &&
            std::find(bases.begin(), bases.end(), base) == bases.end()) {
            bases.emplace_back(base);
        }
    }
    return bases;
}

struct FolderOwner {
    pid_t pid = 0;
    std::uint64_t start = 0;
};

// The process a private folder's name gives; none for names of another making.
std::optional<FolderOwner> OwnerOf(std::string_view name) {
    if (!name.starts_with(kPrefix)) {
        return std::nullopt;
    }
    name.remove_prefix(kPrefix.size());
    const char* const end = name.data() + name.size();
    FolderOwner owner;
    const auto pid = std::from_chars(name.data(), end, owner.pid);
    if (pid.ec != std::errc() || pid.ptr == end || *pid.ptr != '-' || owner.pid <= 0) {
        return std::nullopt;
    }
    const auto start = std::from_chars(pid.ptr + 1, end, owner.start);
    if (start.ec != std::errc() || start.ptr == end || *start.ptr != '-') {
        return std::nullopt;
    }
    return owner;
}

}  // namespace

std::string MakeImageFolder() {
    std::string base;
    for (const auto& candidate : Candidates()) {
        if (access(candidate.c_str(), W_OK) == 0) {
            base = candidate;
            break;
        }
    }
    if (base.empty()) {
        return {};
    }
    const pid_t pid = getpid();
    std::string pattern = base + "/" + std::string(kPrefix) + std::to_string(pid) + "-" +
                          std::to_string(ProcessStartTime(pid).value_or(0)) + "-XXXXXX";
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

void RemoveDeadImageFolders() {
    for (const auto& base : Candidates()) {
        std::error_code error;
        std::vector<std::filesystem::path> dead;
        for (std::filesystem::directory_iterator entry(base, error), end; !error && entry != end;
             entry.increment(error)) {
            const auto& path = entry->path();
            const auto owner = OwnerOf(path.filename().string());
            struct stat info {};
            if (owner && lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
                info.st_uid == getuid() && !ProcessStillRuns(owner->pid, owner->start)) {
                dead.push_back(path);
            }
        }
        for (const auto& folder : dead) {
            std::filesystem::remove_all(folder, error);
        }
    }
}

}  // namespace torvanik
