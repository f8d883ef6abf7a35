#include <cerrno>
#include <filesystem>
#include <functional>

#include "engine_fixture.h"

namespace torvanik::testing {
namespace {

// What a command came to, as the terminal program decides its output and exit status by it.
struct StepCase {
    const char* label;
    std::function<void(EngineTest&)> arrange;
    std::function<StepOutcome(EngineTest&)> act;
    StepResult result;
    Reason reason;
    int error;
};

void PrintTo(const StepCase& c, std::ostream* os) {
    *os << c.label;
}

class StepResultTest : public EngineTest, public ::testing::WithParamInterface<StepCase> {};

StepOutcome Ut(EngineTest& t, const std::string& path) {
    t.questions.sourceAnswers.push_back(PickedFileFromPath(path));
    return t.Run(OnSplitOut);
}

StepOutcome Inn(EngineTest& t, const std::string& destination) {
    t.questions.destinationAnswers.push_back(PickedFileFromPath(destination));
    return t.Run(OnJoinIn);
}

void SplitArmed(EngineTest& t, std::size_t size) {
    t.Split(t.MakeSource("bilde.bmp", size));
}

TEST_P(StepResultTest, EachCommandSaysWhatItCameTo) {
    const StepCase& c = GetParam();
    c.arrange(*this);
    const StepOutcome outcome = c.act(*this);
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(outcome.why.reason, c.reason);
    EXPECT_EQ(outcome.why.error, c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, StepResultTest,
    ::testing::Values(
        StepCase{"Armed", [](EngineTest&) {},
                 [](EngineTest& t) { return Ut(t, t.MakeSource("a.bin", 10)); }, StepResult::kArmed,
                 Reason::kNone, 0},
        StepCase{"SourceIsOnTheDisk",
                 [](EngineTest& t) {
                     WriteBytes(t.OnDrive("INFO.FIL"), {'1', '\n', 'x'});
                 },
                 [](EngineTest& t) { return Ut(t, t.OnDrive("INFO.FIL")); }, StepResult::kRefused,
                 Reason::kSourceOnDisk, 0},
        StepCase{"PickerCancelled", [](EngineTest&) {},
                 [](EngineTest& t) { return t.Run(OnSplitOut); }, StepResult::kIdle, Reason::kNone,
                 0},
        StepCase{"KlarWithNothingArmed", [](EngineTest&) {}, [](EngineTest& t) { return t.Klar(); },
                 StepResult::kIdle, Reason::kNone, 0},
        StepCase{"NoDiskOneToJoin", [](EngineTest&) {},
                 [](EngineTest& t) { return Inn(t, t.tmp / "ut.bin"); }, StepResult::kCannotStart,
                 Reason::kNone, 0},
        StepCase{"MoreDisksToCome",
                 [](EngineTest& t) {
                     t.files.freeBytes = std::optional<std::uint64_t>(1'000'000);
                     SplitArmed(t, 1'500'000);
                 },
                 [](EngineTest& t) { return t.Klar(); }, StepResult::kAdvanced, Reason::kNone, 0},
        StepCase{"LastDisk", [](EngineTest& t) { SplitArmed(t, 5000); },
                 [](EngineTest& t) { return t.Klar(); }, StepResult::kFinished, Reason::kNone, 0},
        StepCase{"WriteError",
                 [](EngineTest& t) {
                     SplitArmed(t, 100'000);
                     t.files.beforeWrite = [](std::size_t size) {
                         errno = EIO;
                         return size < 1000;
                     };
                 },
                 [](EngineTest& t) { return t.Klar(); }, StepResult::kSameDisk, Reason::kChunkWrite,
                 EIO},
        StepCase{"NoRoom",
                 [](EngineTest& t) {
                     t.files.freeBytes = std::optional<std::uint64_t>(100);
                     SplitArmed(t, 100'000);
                 },
                 [](EngineTest& t) { return t.Klar(); }, StepResult::kDiskFull, Reason::kDiskFull,
                 0},
        StepCase{"ChunkMissing",
                 [](EngineTest& t) {
                     WriteBytes(t.OnDrive("INFO.FIL"), {'5', '\n', 'x'});
                     Inn(t, t.tmp / "ut.bin");
                 },
                 [](EngineTest& t) { return t.Klar(); }, StepResult::kSameDisk,
                 Reason::kChunkMissing, 0}),
    [](const auto& info) { return std::string(info.param.label); });

// Nothing of a transfer is kept outside its own object: two of them, split side by side
// onto drives of their own in one process, each make the set of their own file.
TEST_F(EngineTest, TwoTransfersAtOnceKeepToThemselves) {
    const std::string otherDrive = tmp / "other-drive";
    std::filesystem::create_directories(otherDrive);
    drives.Set(1, {otherDrive, std::nullopt});
    files.freeBytes = std::optional<std::uint64_t>(1'000'000);

    Surface otherSurface{500, 312};
    RecordingObserver otherObserver(CanvasSource(otherSurface, {}));
    Transfer other;
    DriveChoice otherChoice{1, 0};
    ScriptedQuestions otherQuestions;
    const EngineSeams otherSeams{otherQuestions, files, drives, otherChoice, &otherObserver};
    const auto otherKlar = [&] {
        const Presenter::Command drawing(otherObserver);
        return OnDiskReady(other, otherSeams);
    };

    const std::string first = MakeSource("en.bin", 1'500'000, 1);
    const std::string second = MakeSource("to.bin", 700'000, 2);
    Split(first);
    otherQuestions.sourceAnswers.push_back(PickedFileFromPath(second));
    {
        const Presenter::Command drawing(otherObserver);
        OnSplitOut(other, otherSeams);
    }
    EXPECT_EQ(Klar().result, StepResult::kAdvanced);
    EXPECT_EQ(otherKlar().result, StepResult::kFinished);
    TakeOutDisk(1);
    EXPECT_EQ(Klar().result, StepResult::kFinished);

    EXPECT_EQ(ReadBytes(OnDisk(1, "en_bin_1")).size() + ReadBytes(OnDrive("en_bin_2")).size(),
              1'500'000u);
    EXPECT_EQ(ReadBytes(otherDrive + "/to_bin_1"), ReadBytes(second));
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kSplitDoneSeveral));
    EXPECT_EQ(otherObserver.record().lastNotice, N(NoticeId::kSplitDoneOne));
    EXPECT_EQ(screen().facts.driveRoot, "A:");
    EXPECT_EQ(otherObserver.record().facts.driveRoot, "B:");
}

}  // namespace
}  // namespace torvanik::testing
