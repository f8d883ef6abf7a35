#include "platform/image_staging.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/process_identity.h"

namespace torvanik::testing {
namespace {

std::string FolderOf(pid_t pid, std::uint64_t start, const char* rest = "T3st0a") {
    return "torvanik-disk-" + std::to_string(pid) + "-" + std::to_string(start) + "-" + rest;
}

TEST(ImageStagingTest, AtStartTheFoldersOfGoneProcessesAreRemovedAndOthersKept) {
    const pid_t gone = fork();
    if (gone == 0) {
        _exit(0);
    }
    waitpid(gone, nullptr, 0);
    const pid_t self = getpid();
    const std::uint64_t started = ProcessStartTime(self).value_or(0);
    const std::filesystem::path own = MakeImageFolder();
    const auto base = own.parent_path();
    ASSERT_TRUE(own.string().starts_with((base / FolderOf(self, started, "")).string())) << own;
    const std::vector<std::pair<std::string, bool>> planted = {
        {FolderOf(gone, 1), false},
        {FolderOf(self, started + 1), false},  // an earlier process that had our pid
        {FolderOf(self, started), true},
        {"torvanik-disk-T3st0a", true},  // named for no process
    };
    for (const auto& [folder, kept] : planted) {
        std::filesystem::create_directories(base / folder / "inni");
    }
    RemoveDeadImageFolders();
    EXPECT_TRUE(std::filesystem::exists(own));
    for (const auto& [folder, kept] : planted) {
        EXPECT_EQ(std::filesystem::remove_all(base / folder) > 0, kept) << folder;
    }
    std::filesystem::remove_all(own);
}

}  // namespace
}  // namespace torvanik::testing
