#include "engine/join_parity.h"
#include "engine/record_store.h"
#include "engine_fixture.h"

namespace torvanik::testing {
namespace {

using ::testing::ElementsAre;

// Sets split onto folder disks of 100 kB, each taken out once written.
class ParityJoinTest : public EngineTest {
  protected:
    // `source` split with `parity` parity disks, and joined as far as disk 1; the joined
    // file's path.
    std::string SplitAndJoinDiskOne(const std::string& source, int parity) {
        drives.Set(0, {driveDir, 100'000});
        drives.settings().parityDisks = parity;
        Split(source);
        for (int disk = 1; Armed(); ++disk) {
            Klar();
            TakeOutDisk(disk);
        }
        const std::string joined = tmp / "joined.bmp";
        PutInDisk(1);
        Join(joined);
        Klar();
        return joined;
    }
};

struct QuestionCase {
    const char* name;
    bool take;
    Notice after;  // what the failed disk's KLAR leaves on the screen
};

// The window's question when a data disk of the set fails: JA goes on without it, as `s`
// does in the terminal; NEI asks for the same disk again.
class TakeFromParityTest : public ParityJoinTest,
                           public ::testing::WithParamInterface<QuestionCase> {};

TEST_P(TakeFromParityTest, AnswersTheFailedDisk) {
    const std::string source = MakeSource("bilde.bmp", 250'000);
    const std::string joined = SplitAndJoinDiskOne(source, 1);
    PutInDisk(2);
    auto chunk = ReadBytes(OnDrive("bilde_bmp_2"));
    chunk[100] = static_cast<char>(chunk[100] ^ 1);
    WriteBytes(OnDrive("bilde_bmp_2"), chunk);
    questions.parityAnswers = {GetParam().take};
    Klar();
    EXPECT_THAT(questions.parityQuestions, ElementsAre(2));
    EXPECT_EQ(screen().lastNotice, GetParam().after);
    if (!GetParam().take) {
        return;
    }
    PutInDisk(4);
    Klar();
    PutInDisk(3);
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kJoinDoneSeveral));
    EXPECT_EQ(ReadBytes(joined), ReadBytes(source));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, TakeFromParityTest,
    ::testing::Values(QuestionCase{"Ja", true, N(NoticeId::kInsertParityDisk, 1)},
                      QuestionCase{"Nei", false, N(NoticeId::kInsertDiskAgain, 2)}),
    [](const ::testing::TestParamInfo<QuestionCase>& info) { return info.param.name; });

// JA to a set that turns out to have no parity disk: the disk in place of parity disk 1 is
// none, so the disk given up is asked for again, and the join goes on with it.
TEST_F(ParityJoinTest, WithoutParityDisksTheDiskGivenUpIsAskedForAgain) {
    const std::string source = MakeSource("bilde.bmp", 150'000);
    const std::string joined = SplitAndJoinDiskOne(source, 0);
    PutInDisk(2);
    const auto whole = ReadBytes(OnDrive("bilde_bmp_2"));
    auto chunk = whole;
    chunk[100] = static_cast<char>(chunk[100] ^ 1);
    WriteBytes(OnDrive("bilde_bmp_2"), chunk);
    questions.parityAnswers = {true};
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertParityDisk, 1));
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDiskAgain, 2));
    EXPECT_EQ(observer.reasons.back(), "Disketten er ikke en paritetsdisk");
    WriteBytes(OnDrive("bilde_bmp_2"), whole);
    Klar();
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kJoinDoneSeveral));
    EXPECT_EQ(ReadBytes(joined), ReadBytes(source));
}

// A join with a hole can't be gone on with from a record: the record of the disks before
// goes at the skip, and none is kept after.
TEST_F(ParityJoinTest, AJoinWithAHoleKeepsNoRecord) {
    const RecordStore records(tmp / "state");
    seams.records = &records;
    const std::string source = MakeSource("bilde.bmp", 250'000);
    const std::string joined = SplitAndJoinDiskOne(source, 1);
    ASSERT_EQ(records.Load(TransferKind::kJoin, joined).found, RecordStore::Found::kRecord);
    Run(OnSkipDisk);
    EXPECT_EQ(records.Load(TransferKind::kJoin, joined).found, RecordStore::Found::kNone);
    PutInDisk(4);
    EXPECT_EQ(Klar().result, StepResult::kAdvanced);
    EXPECT_EQ(records.Load(TransferKind::kJoin, joined).found, RecordStore::Found::kNone);
}

}  // namespace
}  // namespace torvanik::testing
