#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <vector>

#include "support/temp_folder.h"

namespace torvanik::testing {
namespace {

std::size_t OpenDescriptors() {
    const auto fds = std::filesystem::directory_iterator("/proc/self/fd");
    return static_cast<std::size_t>(std::distance(fds, std::filesystem::directory_iterator()));
}

struct OpenCase {
    const char* name;
    std::function<void(const std::string& path)> make;
    OpenReasons told;
    Reason reason;
    int error;
};

// A failed open is told as the caller asked, and leaves no descriptor open; a FIFO is
// refused at once rather than waited on.
TEST(FileSystemTest, FailedOpensAreToldAsAskedAndCloseWhatTheyOpened) {
    const OpenReasons chunk{Reason::kChunkMissing, Reason::kChunkNotRegular};
    const auto folder = [](const std::string& path) { std::filesystem::create_directory(path); };
    const auto fifo = [](const std::string& path) { mkfifo(path.c_str(), 0600); };
    const auto link = [](const std::string& path) {
        WriteBytes(path + ".target", PatternBytes(3));
        std::filesystem::create_symlink(path + ".target", path);
    };
    const std::vector<OpenCase> cases = {
        {"missing", [](const std::string&) {}, chunk, Reason::kChunkMissing, 0},
        {"folder", folder, chunk, Reason::kChunkNotRegular, 0},
        {"fifo", fifo, chunk, Reason::kChunkNotRegular, 0},
        {"link", link, chunk, Reason::kChunkNotRegular, 0},
        {"missing, as it came", [](const std::string&) {}, {}, Reason::kNone, ENOENT},
        {"folder, as it came", folder, {}, Reason::kNone, 0},
    };
    TempFolder tmp;
    FileSystem files;
    const std::size_t before = OpenDescriptors();
    for (const OpenCase& c : cases) {
        const std::string path = tmp / c.name;
        c.make(path);
        const auto opened = files.OpenRegular(path, Links::Refuse, c.told);
        ASSERT_FALSE(opened) << c.name;
        EXPECT_EQ(opened.why().reason, c.reason) << c.name;
        EXPECT_EQ(opened.why().error, c.error) << c.name;
    }
    EXPECT_EQ(OpenDescriptors(), before);
}

// A folder's lock lasts as long as its File, moved or not, and no longer.
TEST(FileSystemTest, AFolderLockGoesWithItsFile) {
    TempFolder tmp;
    FileSystem files;
    const std::size_t before = OpenDescriptors();
    auto held = files.LockFolder(tmp.path());
    ASSERT_TRUE(held);
    File moved = std::move(*held);
    const auto second = files.LockFolder(tmp.path());
    ASSERT_FALSE(second);
    EXPECT_EQ(second.why().error, EWOULDBLOCK);
    moved = File();
    EXPECT_EQ(OpenDescriptors(), before);
    EXPECT_TRUE(files.LockFolder(tmp.path()));
}

}  // namespace
}  // namespace torvanik::testing
