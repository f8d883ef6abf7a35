#include "platform/image_staging.h"

#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace torvanik::testing {
namespace {

namespace fs = std::filesystem;

TEST(ImageStagingTest, PrivateFoldersLiveBesideTheImageAndGoWithTheNextStepsLeftovers) {
    TempFolder tmp;
    fs::create_directories(tmp / "bilder");
    fs::create_directories(tmp / "andre");
    WriteBytes(tmp / "andre/beholdes", {'x'});
    const std::string folder = MakeFolderBeside(tmp / "bilder/DSKA0000.IMG");
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(fs::path(folder).parent_path(), tmp / "bilder");
    EXPECT_TRUE(fs::path(folder).filename().string().starts_with(".~torvanik.DSKA0000.IMG."));
    struct stat info {};
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    WriteBytes(folder + "/INFO.FIL", {'x'});
    // A link of that naming is no step's: neither it nor what it points to goes.
    fs::create_directory_symlink(tmp / "andre", tmp / "bilder/.~torvanik.lenke");
    WriteBytes(tmp / "bilder/DSKA0000.IMG", {'x'});
    RemoveLeftovers(tmp / "bilder");
    EXPECT_THAT(NamesIn(tmp / "bilder"),
                ::testing::ElementsAre(".~torvanik.lenke", "DSKA0000.IMG"));
    EXPECT_TRUE(fs::exists(tmp / "andre/beholdes"));
}

}  // namespace
}  // namespace torvanik::testing
