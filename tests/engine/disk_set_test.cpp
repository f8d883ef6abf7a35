#include "engine/disk_set.h"

#include <filesystem>

#include "engine/settings.h"
#include "engine_fixture.h"

namespace torvanik::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct InfoCase {
    std::string bytes;
    std::int64_t number;
    std::optional<std::string> name;
};

TEST(InfoFileTest, ReadsNumberAndName) {
    const std::vector<InfoCase> cases = {
        {"123\nx.dat", 123, "x.dat"}, {"\r\n 456\r\nnavn.bmp\r\n", 456, "navn.bmp"},
        {"", -1, std::nullopt},       {"77\nb\xF8lge.bmp", 77, "b\xF8lge.bmp"},
        {"12\n", 12, std::nullopt},   {"99999999999999999999999\nx", -1, "x"},
    };
    const TempFolder tmp;
    FileSystem files;
    for (const auto& c : cases) {
        WriteBytes(tmp / "INFO.FIL", std::vector<char>(c.bytes.begin(), c.bytes.end()));
        auto file = files.OpenRegular(tmp / "INFO.FIL", Links::Refuse, {});
        ASSERT_TRUE(file);
        EXPECT_EQ(ReadInfoNumber(*file), c.number) << c.bytes;
        EXPECT_EQ(ReadInfoName(*file), c.name) << c.bytes;
    }
}

TEST(InfoFileTest, WrittenFormIsDigitsLineFeedName) {
    EXPECT_EQ(FormatInfoFile(2'500'000, "bilde.bmp"), "2500000\nbilde.bmp");
    EXPECT_EQ(FormatInfoFile(0, "a"), "0\na");
    EXPECT_EQ(FormatInfoFile(5'000'000'000, "big"), "5000000000\nbig");
}

TEST(ChunkNameTest, DotsBecomeUnderscoresUpToTheFirstHighOrControlByte) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"bilde.bmp", "bilde_bmp"},
        {"film.del.avi", "film_del_avi"},
        {"a.b.c", "a_b_c"},
        {"utendot", "utendot"},
        {"bl\xE5.bilde.bmp", "bl\xE5.bilde.bmp"},
        {"a.b\x01.c.d", "a_b\x01.c.d"},
    };
    for (const auto& [name, base] : cases) {
        EXPECT_EQ(ChunkBaseName(name), base) << name;
    }
    EXPECT_EQ(ChunkPath("A:", "a_b_c", 2), "A:a_b_c_2");
    EXPECT_EQ(ChunkPath("A:", "utendot", 1), "A:utendot_1");
    EXPECT_EQ(InfoFilePath("B:"), "B:\\INFO.FIL");
}

class UnfitInfoFileTest : public EngineTest {};

TEST_F(UnfitInfoFileTest, IsTreatedAsNoDiskOne) {
    const std::vector<std::string> unfit = {
        "",
        "abc\nx.dat",
        "123\n",
        "123\n" + std::string(100, 'n'),
        "5\n../x",
        "5\na/b",
        "5\na\\b",
        "5\nc:x",
        "5\n.",
        "5\n..",
        "99999999999999999999\nx",
    };
    for (const auto& bytes : unfit) {
        Reset();
        observer.notices.clear();
        WriteBytes(OnDrive("INFO.FIL"), {bytes.begin(), bytes.end()});
        Run(OnJoinIn);
        EXPECT_THAT(observer.notices, ElementsAre(N(NoticeId::kInsertDiskAgain, 1),
                                                  N(NoticeId::kInsertDiskOneForJoin)))
            << bytes;
        EXPECT_EQ(ViewState(), 0);
        EXPECT_THAT(questions.destinationInitialNames, IsEmpty());
    }
}

TEST_F(UnfitInfoFileTest, NameOfNinetyNineBytesIsAccepted) {
    const std::string name(99, 'n');
    const std::string bytes = "5\n" + name;
    WriteBytes(OnDrive("INFO.FIL"), {bytes.begin(), bytes.end()});
    Run(OnJoinIn);
    EXPECT_THAT(questions.destinationInitialNames, ElementsAre(name));
}

class SettingsTest : public EngineTest {
  protected:
    std::string path() const { return tmp / "config/torvanik/Torvanik.hsk"; }
};

TEST_F(SettingsTest, ChoosingADriveWritesItsIndexAndTheSpareByte) {
    std::filesystem::create_directories(tmp / "config/torvanik");
    WriteBytes(path(), {1, 7});
    LoadSettings(drive);
    EXPECT_EQ(drive.driveIndex, 1);
    EXPECT_EQ(drive.spareSetting, 7);
    questions.driveAnswers.push_back(2);
    Run(OnSelectDrive);
    EXPECT_EQ(ReadBytes(path()), (std::vector<char>{2, 7}));
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kIdlePrompt));
}

TEST_F(SettingsTest, SavingMakesTheFolder) {
    drive.driveIndex = 13;
    SaveSettings(drive);
    EXPECT_EQ(ReadBytes(path()), (std::vector<char>{13, 0}));
}

TEST_F(SettingsTest, FilesTheDialogCannotHaveWrittenAreIgnored) {
    std::filesystem::create_directories(tmp / "config/torvanik");
    const std::vector<std::vector<char>> unfit = {{}, {3}, {14, 0}, {static_cast<char>(0xFF), 0}};
    for (const auto& bytes : unfit) {
        Reset();
        WriteBytes(path(), bytes);
        LoadSettings(drive);
        EXPECT_EQ(drive.driveIndex, 0);
        EXPECT_EQ(drive.spareSetting, 0);
    }
    std::filesystem::remove(path());
    LoadSettings(drive);
    EXPECT_EQ(drive.driveIndex, 0);
}

}  // namespace
}  // namespace torvanik::testing
