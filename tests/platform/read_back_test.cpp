#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/magic.h>
#include <sys/mman.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <vector>

#include "platform/read_back.h"
#include "support/temp_folder.h"

namespace torvanik::testing {
namespace {

// Records the flags, advice and reads of the read-back; can turn direct reads down as a
// file system without them does. Its clock moves by `eachRead` at every read, and for
// nothing else.
class WatchedFileSystem : public FileSystem {
  public:
    bool refuseDirect = false;
    std::chrono::milliseconds eachRead{0};
    std::chrono::steady_clock::time_point now{};
    std::vector<int> openFlags;
    std::vector<int> advice;
    std::vector<bool> readsWereDirect;
    std::vector<std::size_t> readSizes;
    std::function<void()> beforeRead;
    // The file the reads come from was opened for direct reads.
    bool openedDirect = false;

    Result<File> OpenForReadBack(const std::string& path, int flags) override {
        openFlags.push_back(flags);
        if (refuseDirect && (flags & O_DIRECT) != 0) {
            return Why{Reason::kNone, EINVAL, {}};
        }
        auto file = FileSystem::OpenForReadBack(path, flags);
        openedDirect = file && (flags & O_DIRECT) != 0;
        return file;
    }
    Result<void> Advise(File& file, std::int64_t offset, std::int64_t length, int what) override {
        advice.push_back(what);
        return FileSystem::Advise(file, offset, length, what);
    }
    Result<std::int64_t> ReadAt(File& file, void* buffer, std::size_t size,
                                std::int64_t offset) override {
        if (beforeRead) {
            beforeRead();
        }
        now += eachRead;
        readsWereDirect.push_back(openedDirect);
        readSizes.push_back(size);
        return FileSystem::ReadAt(file, buffer, size, offset);
    }
    std::chrono::steady_clock::time_point Now() override { return now; }
};

Digest128 DigestOfStretch(const std::vector<char>& bytes, std::size_t from, std::size_t length) {
    return DigestOf(bytes.data() + from, length);
}

// Pages of the file that sit in the page cache now.
std::size_t CachedPages(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY);
    const off_t size = lseek(fd, 0, SEEK_END);
    void* map = mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_SHARED, fd, 0);
    close(fd);
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> resident((static_cast<std::size_t>(size) + page - 1) / page);
    mincore(map, static_cast<std::size_t>(size), resident.data());
    munmap(map, static_cast<std::size_t>(size));
    std::size_t cached = 0;
    for (const unsigned char r : resident) {
        cached += r & 1;
    }
    return cached;
}

class ReadBackFromMediumTest : public ::testing::Test {
  protected:
    void SetUp() override {
        struct statfs info {};
        statfs(tmp.path().c_str(), &info);
        if (info.f_type == TMPFS_MAGIC) {
            GTEST_SKIP() << "the temporary folder is in memory: it has no medium to read";
        }
        bytes = PatternBytes(kSize, 7);
        WriteBytes(path, bytes);
        const int fd = open(path.c_str(), O_RDONLY);
        fsync(fd);
        close(fd);
    }

    static constexpr std::size_t kSize = (5 << 20) + 777;
    TempFolder tmp;
    std::string path = tmp / "chunk";
    std::vector<char> bytes;
};

TEST_F(ReadBackFromMediumTest, StretchesAtAnyOffsetMatchOnlyTheirOwnBytesBothWays) {
    for (const bool refuseDirect : {false, true}) {
        SCOPED_TRACE(refuseDirect ? "after dropping the cache" : "direct");
        WatchedFileSystem files;
        files.refuseDirect = refuseDirect;
        const std::size_t stretches[][2] = {
            {0, kSize}, {12345, kSize - 12345}, {4096, 8192}, {4097, 4095}, {kSize, 0}};
        for (const auto& [from, length] : stretches) {
            const auto offset = static_cast<std::int64_t>(from);
            const auto size = static_cast<std::int64_t>(length);
            EXPECT_EQ(*ReadBackFromMedium(files, path, offset, size,
                                          DigestOfStretch(bytes, from, length), {}),
                      ReadBackVerdict::kMatch)
                << from << "+" << length;
        }
        EXPECT_EQ(*ReadBackFromMedium(files, path, 1, 4096, DigestOfStretch(bytes, 0, 4096), {}),
                  ReadBackVerdict::kMismatch);
        EXPECT_EQ(*ReadBackFromMedium(files, path, 100, kSize,
                                      DigestOfStretch(bytes, 100, kSize - 100), {}),
                  ReadBackVerdict::kShort);
        const Result<ReadBackVerdict> missing =
            ReadBackFromMedium(files, tmp / "none", 0, 1, {}, {});
        ASSERT_FALSE(missing);
        EXPECT_EQ(missing.why().error, ENOENT);
    }
}

// A slow medium is read in pieces small enough to show the check moving; a fast one in
// pieces that grow to the largest.
TEST_F(ReadBackFromMediumTest, PiecesStaySmallWhileTheMediumIsSlow) {
    struct Case {
        const char* name;
        std::chrono::milliseconds eachRead;
        std::size_t length;
        std::size_t leastLargestRead;
        std::size_t mostLargestRead;
    };
    for (const Case& c :
         {Case{"slow", std::chrono::milliseconds(150), 256 << 10, 32 << 10, 32 << 10},
          Case{"fast", std::chrono::milliseconds(0), kSize, 1 << 20, 4 << 20}}) {
        WatchedFileSystem files;
        files.eachRead = c.eachRead;
        std::vector<std::int64_t> checked;
        const auto outcome =
            ReadBackFromMedium(files, path, 0, static_cast<std::int64_t>(c.length),
                               DigestOfStretch(bytes, 0, c.length),
                               [&checked](std::int64_t done, std::int64_t /*length*/) {
                                   checked.push_back(done);
                                   return true;
                               });
        EXPECT_EQ(*outcome, ReadBackVerdict::kMatch) << c.name;
        const std::size_t largest =
            *std::max_element(files.readSizes.begin(), files.readSizes.end());
        EXPECT_GE(largest, c.leastLargestRead) << c.name;
        EXPECT_LE(largest, c.mostLargestRead) << c.name;
        EXPECT_EQ(checked.size(), files.readSizes.size()) << c.name;
        EXPECT_EQ(checked.back(), static_cast<std::int64_t>(c.length)) << c.name;
    }
}

TEST_F(ReadBackFromMediumTest, DirectReadsAreUsedWhereTheFileSystemAllowsThem) {
    WatchedFileSystem files;
    ASSERT_EQ(*ReadBackFromMedium(files, path, 0, kSize, DigestOfStretch(bytes, 0, kSize), {}),
              ReadBackVerdict::kMatch);
    if (files.openFlags.size() > 1) {
        GTEST_SKIP() << "this file system turns direct reads down";
    }
    EXPECT_EQ(files.readsWereDirect, std::vector<bool>(files.readsWereDirect.size(), true));
}

TEST_F(ReadBackFromMediumTest, WithoutDirectReadsTheCachedPagesAreDroppedBeforeTheReadAgain) {
    ReadBytes(path);  // the whole file in the page cache
    ASSERT_GT(CachedPages(path), 0u);
    WatchedFileSystem files;
    files.refuseDirect = true;
    std::vector<std::size_t> cachedBeforeFirstRead;
    files.beforeRead = [&] {
        if (cachedBeforeFirstRead.empty()) {
            cachedBeforeFirstRead.push_back(CachedPages(path));
        }
    };
    const auto outcome =
        ReadBackFromMedium(files, path, 0, kSize, DigestOfStretch(bytes, 0, kSize), {});
    EXPECT_EQ(*outcome, ReadBackVerdict::kMatch);
    EXPECT_EQ(files.openFlags.size(), 2u);
    EXPECT_EQ(files.openFlags[1] & O_DIRECT, 0);
    EXPECT_EQ(files.advice, std::vector<int>{POSIX_FADV_DONTNEED});
    EXPECT_EQ(cachedBeforeFirstRead, std::vector<std::size_t>{0});
}

}  // namespace
}  // namespace torvanik::testing
