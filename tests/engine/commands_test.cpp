#include <filesystem>

#include "engine_fixture.h"

namespace torvanik::testing {
namespace {

using ::testing::ElementsAre;

class CommandsTest : public EngineTest {
  protected:
    // A split of a 2,500,000-byte file with disk 1 written: transferPending is 1.
    void SplitWithOneDiskDone() {
        files.freeBytes = std::optional<std::uint64_t>(1'000'000);
        Split(MakeSource("bilde.bmp", 2'500'000));
        Klar();
        TakeOutDisk(1);
        ASSERT_EQ(transferState.transferPending, 1);
        ASSERT_EQ(transferState.diskNumber, 2);
    }
};

TEST_F(CommandsTest, KlarWhenIdleShowsThePromptAndNothingElse) {
    transferState.driveIndex = 3;
    transferState.pathStripKind = 2;
    Klar();
    EXPECT_EQ(transferState.lastNotice, N(14, 2, -1));
    EXPECT_EQ(transferState.viewState, VS_NOTICE);
    EXPECT_EQ(transferState.driveIndex, 3);
    EXPECT_EQ(transferState.pathStripKind, 2);
    EXPECT_EQ(transferState.diskNumber, 0);
    EXPECT_TRUE(DriveFiles().empty());
}

TEST_F(CommandsTest, KlarInAModeClearsTheHelpBoxBeforeTheStep) {
    Split(MakeSource("a.bin", 10));
    OnShowHelp(seams);
    EXPECT_NE(transferState.viewState & VS_HELP, 0);
    Klar();
    EXPECT_EQ(transferState.viewState, VS_NOTICE);

    OnShowHelp(seams);
    Klar();  // outside a mode the help box stays
    EXPECT_NE(transferState.viewState & VS_HELP, 0);
}

TEST_F(CommandsTest, AbortQuestionAnsweredNoLeavesTheTransfer) {
    SplitWithOneDiskDone();
    const TransferState before = transferState;
    questions.abortAnswers.push_back(1);
    questions.sourceAnswers.push_back(PickedFileFromPath(MakeSource("other.bin", 5)));
    OnSplitOut(seams);
    EXPECT_EQ(questions.abortQuestions, 1);
    EXPECT_EQ(questions.sourceAnswers.size(), 1u);  // never asked
    EXPECT_EQ(transferState.viewState, before.viewState);
    EXPECT_EQ(transferState.diskNumber, 2);
    EXPECT_EQ(transferState.lastNotice, before.lastNotice);

    questions.abortAnswers.push_back(1);
    OnJoinIn(seams);
    EXPECT_EQ(transferState.viewState, before.viewState);
    Klar();
    EXPECT_EQ(transferState.lastNotice, N(0, 2, 3));
}

TEST_F(CommandsTest, AbortQuestionAnsweredYesGoesOnAndACancelledPickerLeavesIdle) {
    SplitWithOneDiskDone();
    questions.abortAnswers.push_back(0);
    OnSplitOut(seams);  // the source picker is cancelled
    EXPECT_EQ(transferState.transferPending, 0);
    EXPECT_EQ(transferState.viewState, 0);
    Klar();
    EXPECT_EQ(transferState.lastNotice, N(14, 2, -1));
    OnSplitOut(seams);  // nothing pending: no question
    EXPECT_EQ(questions.abortQuestions, 1);
}

TEST_F(CommandsTest, CancelledDestinationPickerLeavesIdle) {
    WriteBytes(OnDrive("INFO.FIL"), {'5', '\n', 'x'});
    OnJoinIn(seams);
    EXPECT_THAT(questions.destinationInitialNames, ElementsAre("x"));
    EXPECT_EQ(transferState.viewState, 0);
}

TEST_F(CommandsTest, UnopenableSourceShowsTheInsertNoticeWithoutNumber) {
    Split(tmp / "missing.bin");
    EXPECT_EQ(transferState.lastNotice, N(0, 2, -1));
    EXPECT_EQ(transferState.viewState, VS_NOTICE);
    EXPECT_EQ(transferState.pathStripKind, 0);
    Split(tmp.path().string());  // a folder is no file to split
    EXPECT_EQ(transferState.lastNotice, N(0, 2, -1));
}

TEST_F(CommandsTest, JoinWithoutInfoFileDrawsNotice17AndLeavesIdle) {
    OnJoinIn(seams);
    EXPECT_THAT(observer.notices, ElementsAre(N(0, 2, 1), N(17, 2, -1)));
    EXPECT_EQ(transferState.viewState, 0);  // the notice is gone at the next repaint
    EXPECT_EQ(transferState.noticeToggle, 1);
}

TEST_F(CommandsTest, ClicksInTheNoticeBoxHideAndShowTheNotice) {
    OnLButtonDown(seams, 0, 200, 120);
    EXPECT_EQ(transferState.noticeToggle, 0);
    EXPECT_EQ(transferState.viewState, 0);

    Klar();
    OnLButtonDown(seams, 0, 200, 120);
    EXPECT_EQ(transferState.noticeToggle, -1);
    EXPECT_EQ(transferState.viewState, 0);
    OnLButtonDown(seams, 0, 96, 86);
    EXPECT_EQ(transferState.noticeToggle, 1);
    EXPECT_EQ(transferState.viewState, VS_NOTICE);

    for (const auto& [x, y] :
         std::vector<std::pair<int, int>>{{95, 120}, {415, 120}, {200, 85}, {200, 170}, {20, 20}}) {
        OnLButtonDown(seams, 0, x, y);
        EXPECT_EQ(transferState.noticeToggle, 1) << x << "," << y;
    }
}

TEST_F(CommandsTest, ClickWhileHelpIsShownOnlyClosesHelp) {
    Klar();
    OnShowHelp(seams);
    OnLButtonDown(seams, 0, 200, 120);
    EXPECT_EQ(transferState.viewState, VS_NOTICE);
    EXPECT_EQ(transferState.noticeToggle, 1);
}

TEST_F(CommandsTest, NoticeToggleSurvivesACancelledSplit) {
    Klar();
    OnSplitOut(seams);  // cancelled: viewState 0 hides the notice
    EXPECT_EQ(transferState.viewState, 0);
    EXPECT_EQ(transferState.noticeToggle, 1);
    OnLButtonDown(seams, 0, 200, 120);
    OnLButtonDown(seams, 0, 200, 120);
    EXPECT_EQ(transferState.viewState, VS_NOTICE);
    EXPECT_EQ(transferState.lastNotice, N(14, 2, -1));
}

TEST_F(CommandsTest, ChoosingADriveMidSplitKeepsTheSplitOnTheNewDrive) {
    SplitWithOneDiskDone();
    const std::string other = tmp / "drive-c";
    std::filesystem::create_directories(other);
    drives.Set(2, {other, std::nullopt});
    questions.driveAnswers.push_back(2);
    OnSelectDrive(seams);
    EXPECT_EQ(transferState.lastNotice, N(14, 2, -1));
    EXPECT_TRUE(InSplitMode(transferState));
    Klar();
    EXPECT_EQ(transferState.lastNotice, N(0, 2, 3));
    EXPECT_TRUE(std::filesystem::exists(other + "/bilde_bmp_2"));
}

TEST_F(CommandsTest, CleanUpOpensThePickerOnTheDriveAndAsksForTheDiskAgain) {
    Klar();
    OnCleanDisk(seams);
    EXPECT_EQ(transferState.lastNotice, N(14, 2, -1));
    SplitWithOneDiskDone();
    OnCleanDisk(seams);
    EXPECT_THAT(questions.cleanUpRoots, ElementsAre("A:", "A:"));
    EXPECT_EQ(transferState.lastNotice, N(3, 2, 2));
    EXPECT_NE(transferState.viewState & VS_PANEL, 0);
}

TEST_F(CommandsTest, FailedDestinationDoesNotResumeAnArmedSplit) {
    SplitWithOneDiskDone();
    PutInDisk(1);
    questions.abortAnswers.push_back(0);
    Join(tmp / "no/such/folder/out.bmp");
    EXPECT_EQ(transferState.lastNotice, N(10, 1, -1));
    EXPECT_FALSE(InMode(transferState));
    const auto before = DriveFiles();
    Klar();
    EXPECT_EQ(transferState.lastNotice, N(14, 2, -1));
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
    ASSERT_EQ(transferState.diskNumber, 2);
    questions.abortAnswers.push_back(0);
    Join(tmp / "no/such/folder/out.bmp");  // the join stays armed, with no stream
    EXPECT_TRUE(InJoinMode(transferState));
    Klar();
    EXPECT_EQ(transferState.lastNotice, N(10, 1, -1));
    EXPECT_EQ(transferState.diskNumber, 1);
}

TEST_F(CommandsTest, HelpIsDrawnAndRecordedWithoutARepaint) {
    OnShowHelp(seams);
    EXPECT_EQ(transferState.viewState, VS_HELP);
    OnCleanDisk(seams);
    OnSelectDrive(seams);
    EXPECT_NE(transferState.viewState & VS_HELP, 0);
}

}  // namespace
}  // namespace torvanik::testing
