#include <filesystem>

#include "engine_fixture.h"

namespace torvanik::testing {
namespace {

using ::testing::ElementsAre;

class CommandsTest : public EngineTest {
  protected:
    // A split of a 2,500,000-byte file with disk 1 written: a transfer is pending.
    void SplitWithOneDiskDone() {
        files.freeBytes = std::optional<std::uint64_t>(1'000'000);
        Split(MakeSource("bilde.bmp", 2'500'000));
        Klar();
        TakeOutDisk(1);
        ASSERT_TRUE(transfer.pending);
        ASSERT_EQ(transfer.diskNumber, 2);
    }
};

TEST_F(CommandsTest, KlarWhenIdleShowsThePromptAndNothingElse) {
    drive.driveIndex = 3;
    transfer.filePicked = true;
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kIdlePrompt));
    EXPECT_EQ(ViewState(), VS_NOTICE);
    EXPECT_EQ(drive.driveIndex, 3);
    EXPECT_TRUE(screen().facts.pathStrip);
    EXPECT_EQ(transfer.diskNumber, 0);
    EXPECT_TRUE(DriveFiles().empty());
}

TEST_F(CommandsTest, KlarInAModeClearsTheHelpBoxBeforeTheStep) {
    Split(MakeSource("a.bin", 10));
    Help();
    EXPECT_NE(ViewState() & VS_HELP, 0);
    Klar();
    EXPECT_EQ(ViewState(), VS_NOTICE);

    Help();
    Klar();  // outside a mode the help box stays
    EXPECT_NE(ViewState() & VS_HELP, 0);
}

TEST_F(CommandsTest, AbortQuestionAnsweredNoLeavesTheTransfer) {
    SplitWithOneDiskDone();
    const ScreenRecord before = screen();
    const int beforeBits = ViewState();
    questions.abortAnswers.push_back(false);
    questions.sourceAnswers.push_back(PickedFileFromPath(MakeSource("other.bin", 5)));
    Run(OnSplitOut);
    EXPECT_EQ(questions.abortQuestions, 1);
    EXPECT_EQ(questions.sourceAnswers.size(), 1u);  // never asked
    EXPECT_EQ(ViewState(), beforeBits);
    EXPECT_EQ(transfer.diskNumber, 2);
    EXPECT_EQ(screen().lastNotice, before.lastNotice);

    questions.abortAnswers.push_back(false);
    Run(OnJoinIn);
    EXPECT_EQ(ViewState(), beforeBits);
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 3));
}

TEST_F(CommandsTest, AbortQuestionAnsweredYesGoesOnAndACancelledPickerLeavesIdle) {
    SplitWithOneDiskDone();
    questions.abortAnswers.push_back(true);
    Run(OnSplitOut);  // the source picker is cancelled
    EXPECT_FALSE(transfer.pending);
    EXPECT_EQ(ViewState(), 0);
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kIdlePrompt));
    Run(OnSplitOut);  // nothing pending: no question
    EXPECT_EQ(questions.abortQuestions, 1);
}

TEST_F(CommandsTest, CancelledDestinationPickerLeavesIdle) {
    WriteBytes(OnDrive("INFO.FIL"), {'5', '\n', 'x'});
    Run(OnJoinIn);
    EXPECT_THAT(questions.destinationInitialNames, ElementsAre("x"));
    EXPECT_EQ(ViewState(), 0);
}

TEST_F(CommandsTest, UnopenableSourceShowsTheInsertNoticeWithoutNumber) {
    Split(tmp / "missing.bin");
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain));
    EXPECT_EQ(ViewState(), VS_NOTICE);
    EXPECT_FALSE(screen().facts.pathStrip);
    Split(tmp.path().string());  // a folder is no file to split
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain));
}

TEST_F(CommandsTest, JoinWithoutInfoFileDrawsNotice17AndLeavesIdle) {
    Run(OnJoinIn);
    EXPECT_THAT(observer.notices,
                ElementsAre(N(NoticeId::kInsertDiskAgain, 1), N(NoticeId::kInsertDiskOneForJoin)));
    EXPECT_EQ(ViewState(), 0);  // the notice is gone at the next repaint
    EXPECT_EQ(Toggle(), 1);
}

TEST_F(CommandsTest, ClicksInTheNoticeBoxHideAndShowTheNotice) {
    Click(200, 120);
    EXPECT_EQ(Toggle(), 0);
    EXPECT_EQ(ViewState(), 0);

    Klar();
    Click(200, 120);
    EXPECT_EQ(Toggle(), -1);
    EXPECT_EQ(ViewState(), 0);
    Click(96, 86);
    EXPECT_EQ(Toggle(), 1);
    EXPECT_EQ(ViewState(), VS_NOTICE);

    for (const auto& [x, y] :
         std::vector<std::pair<int, int>>{{95, 120}, {415, 120}, {200, 85}, {200, 170}, {20, 20}}) {
        Click(x, y);
        EXPECT_EQ(Toggle(), 1) << x << "," << y;
    }
}

TEST_F(CommandsTest, ClickWhileHelpIsShownOnlyClosesHelp) {
    Klar();
    Help();
    Click(200, 120);
    EXPECT_EQ(ViewState(), VS_NOTICE);
    EXPECT_EQ(Toggle(), 1);
}

TEST_F(CommandsTest, NoticeToggleSurvivesACancelledSplit) {
    Klar();
    Run(OnSplitOut);  // cancelled: viewState 0 hides the notice
    EXPECT_EQ(ViewState(), 0);
    EXPECT_EQ(Toggle(), 1);
    Click(200, 120);
    Click(200, 120);
    EXPECT_EQ(ViewState(), VS_NOTICE);
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kIdlePrompt));
}

TEST_F(CommandsTest, ChoosingADriveMidSplitKeepsTheSplitOnTheNewDrive) {
    SplitWithOneDiskDone();
    const std::string other = tmp / "drive-c";
    std::filesystem::create_directories(other);
    drives.Set(2, {other, std::nullopt});
    questions.driveAnswers.push_back(2);
    Run(OnSelectDrive);
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kIdlePrompt));
    EXPECT_TRUE((transfer.armed == TransferKind::kSplit));
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 3));
    EXPECT_TRUE(std::filesystem::exists(other + "/bilde_bmp_2"));
}

TEST_F(CommandsTest, CleanUpOpensThePickerOnTheDriveAndAsksForTheDiskAgain) {
    Klar();
    Run(OnCleanDisk);
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kIdlePrompt));
    SplitWithOneDiskDone();
    Run(OnCleanDisk);
    EXPECT_THAT(questions.cleanUpRoots, ElementsAre("A:", "A:"));
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDisk, 2));
    EXPECT_NE(ViewState() & VS_PANEL, 0);
    // Deletions that did not reach the disk are told beside the notice.
    questions.cleanUp = [](const std::string&) { return std::string("diskbildet er borte"); };
    Run(OnCleanDisk);
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDisk, 2));
    EXPECT_THAT(observer.reasons, ElementsAre("diskbildet er borte"));
}

TEST_F(CommandsTest, FailedDestinationDoesNotResumeAnArmedSplit) {
    SplitWithOneDiskDone();
    PutInDisk(1);
    questions.abortAnswers.push_back(true);
    Join(tmp / "no/such/folder/out.bmp");
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kNoDestination));
    EXPECT_FALSE(Armed());
    const auto before = DriveFiles();
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kIdlePrompt));
    EXPECT_EQ(DriveFiles(), before);
}

TEST_F(CommandsTest, JoinWithoutDestinationStaysOnItsDisk) {
    files.freeBytes = std::optional<std::uint64_t>(1'000'000);
    Split(MakeSource("bilde.bmp", 1'500'000));
    Klar();
    TakeOutDisk(1);
    Klar();
    TakeOutDisk(2);
    PutInDisk(1);
    Join(tmp / "out.bmp");
    Klar();
    ASSERT_EQ(transfer.diskNumber, 2);
    questions.abortAnswers.push_back(true);
    Join(tmp / "no/such/folder/out.bmp");  // the join stays armed, with no stream
    EXPECT_TRUE((transfer.armed == TransferKind::kJoin));
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kNoDestination));
    EXPECT_EQ(transfer.diskNumber, 1);
}

TEST_F(CommandsTest, HelpIsDrawnAndRecordedWithoutARepaint) {
    Help();
    EXPECT_EQ(ViewState(), VS_HELP);
    Run(OnCleanDisk);
    Run(OnSelectDrive);
    EXPECT_NE(ViewState() & VS_HELP, 0);
}

}  // namespace
}  // namespace torvanik::testing
