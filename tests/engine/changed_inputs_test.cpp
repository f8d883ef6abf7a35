#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "engine/disk_commit.h"
#include "engine_fixture.h"

namespace torvanik::testing {
namespace {

namespace fs = std::filesystem;

// Moves the file's modification time a second on, as a later write by another program does
// on any clock.
void Touch(const std::string& path) {
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    timespec times[2] = {info.st_atim, info.st_mtim};
    times[1].tv_sec += 1;
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

void OverwriteAt(const std::string& path, std::streamoff at, const std::vector<char>& bytes) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(at);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct Change {
    const char* label;
    std::function<void(const std::string& path)> make;
};

void PrintTo(const Change& c, std::ostream* os) {
    *os << c.label;
}

const std::vector<Change> kChanges = {
    {"RewrittenInPlace",
     [](const std::string& path) {
         OverwriteAt(path, 10, PatternBytes(1000, 9));
         Touch(path);
     }},
    {"Appended", [](const std::string& path) { std::ofstream(path, std::ios::app) << "mer"; }},
    {"Truncated", [](const std::string& path) { fs::resize_file(path, 1'200'000); }},
    {"Replaced",
     [](const std::string& path) {
         WriteBytes(path + ".ny", PatternBytes(1'500'000, 5));
         fs::rename(path + ".ny", path);
     }},
};

class ChangedSourceTest : public EngineTest, public ::testing::WithParamInterface<Change> {};

TEST_P(ChangedSourceTest, StopsTheSplitUntilANewUt) {
    files.freeBytes = std::optional<std::uint64_t>(1'000'000);
    const std::string source = MakeSource("bilde.bmp", 1'500'000);
    Split(source);
    ASSERT_EQ(Klar().result, StepResult::kAdvanced);
    TakeOutDisk(1);
    GetParam().make(source);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const StepOutcome step = Klar();
        EXPECT_EQ(step.result, StepResult::kRefused);
        EXPECT_EQ(ReasonLine(step.why), "Kildefilen er endret siden kopieringen begynte");
        EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain));
        EXPECT_TRUE(DriveFiles().empty());
    }
    questions.abortAnswers.push_back(true);
    Split(source);
    EXPECT_EQ(Klar().result, StepResult::kAdvanced);
}

INSTANTIATE_TEST_SUITE_P(Sources, ChangedSourceTest, ::testing::ValuesIn(kChanges),
                         [](const auto& info) { return std::string(info.param.label); });

class ChangedJoinedFileTest : public EngineTest, public ::testing::WithParamInterface<Change> {};

TEST_P(ChangedJoinedFileTest, StopsTheJoin) {
    files.freeBytes = std::optional<std::uint64_t>(1'000'000);
    Split(MakeSource("bilde.bmp", 1'500'000));
    Klar();
    TakeOutDisk(1);
    Klar();
    TakeOutDisk(2);
    PutInDisk(1);
    const std::string joined = tmp / "samlet.bmp";
    Join(joined);
    ASSERT_EQ(Klar().result, StepResult::kAdvanced);
    GetParam().make(joined);
    PutInDisk(2);
    const StepOutcome step = Klar();
    EXPECT_EQ(step.result, StepResult::kRefused);
    EXPECT_EQ(ReasonLine(step.why), "Målfilen er endret av et annet program siden forrige diskett");
}

INSTANTIATE_TEST_SUITE_P(JoinedFiles, ChangedJoinedFileTest, ::testing::ValuesIn(kChanges),
                         [](const auto& info) { return std::string(info.param.label); });

// The files of the drive under their own names, temporaries left out.
std::map<std::string, std::vector<char>> SetFiles(const std::string& folder) {
    std::map<std::string, std::vector<char>> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(kTemporaryPrefix)) {
            found[name] = ReadBytes(entry.path().string());
        }
    }
    return found;
}

class DiskOneCommitTest : public EngineTest {
  protected:
    // Disk 1 holds a set of bilde.bmp; the next UT splits a shorter, other bilde.bmp.
    void SetUp() override {
        source = MakeSource("bilde.bmp", 5'000, 1);
        Split(source);
        Klar();
        older = SetFiles(driveDir);
        WriteBytes(source, PatternBytes(3'000, 2));
        Split(source);
    }

    // A whole set, the older or the new one, or no set at all.
    void ExpectWholeOrNone(const std::map<std::string, std::vector<char>>& shown) {
        if (!shown.contains("INFO.FIL")) {
            return;
        }
        EXPECT_TRUE(shown == older || shown == newer) << "a mix of two sets";
    }

    std::string source;
    std::map<std::string, std::vector<char>> older;
    std::map<std::string, std::vector<char>> newer;
};

TEST_F(DiskOneCommitTest, APowerCutAtAnyPointLeavesOneWholeSetOrNone) {
    std::vector<std::map<std::string, std::vector<char>>> cuts;
    files.beforeRename = [&](const std::string&) {
        cuts.push_back(SetFiles(driveDir));
        return true;
    };
    files.afterRename = [&](const std::string&) { cuts.push_back(SetFiles(driveDir)); };
    ASSERT_EQ(Klar().result, StepResult::kFinished);
    newer = SetFiles(driveDir);
    ASSERT_NE(newer, older);
    ASSERT_GE(cuts.size(), 8u);  // two moved aside and two placed, each before and after
    for (const auto& cut : cuts) {
        ExpectWholeOrNone(cut);
    }
}

TEST_F(DiskOneCommitTest, EachFailedRenameLeavesTheOlderSetAndKlarGoesOn) {
    // The older INFO.FIL and chunk moved aside, the new chunk and INFO.FIL placed.
    for (int failing = 1; failing <= 4; ++failing) {
        SCOPED_TRACE(failing);
        int renames = 0;
        files.beforeRename = [&](const std::string&) {
            errno = EIO;
            return ++renames != failing;
        };
        EXPECT_EQ(Klar().result, StepResult::kSameDisk);
        EXPECT_EQ(SetFiles(driveDir), older);
    }
    files.beforeRename = nullptr;
    EXPECT_EQ(Klar().result, StepResult::kFinished);
    Join(tmp / "samlet.bmp");
    Klar();
    EXPECT_EQ(ReadBytes(tmp / "samlet.bmp"), ReadBytes(source));
}

// Each reason names the cause: a case of the world, and the line the user reads.
struct CauseCase {
    const char* label;
    std::function<StepOutcome(EngineTest&)> play;
    const char* line;
};

void PrintTo(const CauseCase& c, std::ostream* os) {
    *os << c.label;
}

class ReasonCauseTest : public EngineTest, public ::testing::WithParamInterface<CauseCase> {};

TEST_P(ReasonCauseTest, NamesTheCause) {
    const StepOutcome outcome = GetParam().play(*this);
    EXPECT_EQ(ReasonLine(outcome.why), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Causes, ReasonCauseTest,
    ::testing::Values(
        CauseCase{"SourceCutShortWhileCopied",
                  [](EngineTest& t) {
                      const std::string source = t.MakeSource("bilde.bmp", 500'000);
                      t.Split(source);
                      t.files.beforeRead = [source](std::size_t) {
                          fs::resize_file(source, 1000);
                          return true;
                      };
                      return t.Klar();
                  },
                  "Kildefilen er kortere enn den var da kopieringen begynte"},
        CauseCase{"SourceWithoutLength",
                  [](EngineTest& t) {
                      t.questions.sourceAnswers.push_back(PickedFileFromPath("/proc/self/status"));
                      return t.Run(OnSplitOut);
                  },
                  "Kildefilen har ingen fast lengde (den ligger i /proc, /sys eller et lignende "
                  "filsystem)"},
        CauseCase{"ReadOnlyDestinationFolder",
                  [](EngineTest& t) {
                      t.Split(t.MakeSource("bilde.bmp", 5000));
                      t.Klar();
                      t.files.beforeOpen = [](const std::string&, const char* mode) {
                          errno = EROFS;
                          return std::string(mode) != "wb";
                      };
                      t.questions.destinationAnswers.push_back(
                          PickedFileFromPath(t.tmp / "samlet.bmp"));
                      return t.Run(OnJoinIn);
                  },
                  "Mappen til målfilen er skrivebeskyttet"},
        CauseCase{"SomethingForeignAtATemporaryName",
                  [](EngineTest& t) {
                      fs::create_directories(t.OnDrive(".~torvanik.INFO.FIL/inni"));
                      t.Split(t.MakeSource("bilde.bmp", 5000));
                      const StepOutcome step = t.Klar();
                      EXPECT_TRUE(fs::exists(t.OnDrive(".~torvanik.INFO.FIL/inni")));
                      return step;
                  },
                  "Noe som ikke er programmets eget, står der programmet skriver en fil "
                  "(.~torvanik.*)"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace torvanik::testing
