#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "engine/record_store.h"
#include "engine_fixture.h"

namespace torvanik::testing {
namespace {

namespace fs = std::filesystem;

// A transfer whose program stops between disks: the disks and the record are what is left,
// and a new transfer (as a new run of the program makes) may go on from them.
class ResumeTest : public EngineTest {
  public:
    ResumeTest() { seams.records = &records; }

    void Restart() {
        transfer = Transfer{};
        observer.notices.clear();
    }

    // A 3,500,000-byte source over 1,000,000-byte disks: four disks.
    std::string FourDiskSource() {
        files.freeBytes = std::optional<std::uint64_t>(1'000'000);
        return MakeSource("bilde.bmp", 3'500'000);
    }

    void SplitDisks(int from, int to) {
        for (int disk = from; disk <= to; ++disk) {
            ASSERT_EQ(transfer.diskNumber, disk);
            Klar();
            TakeOutDisk(disk);
        }
    }

    std::string RecordFile() const {
        return fs::directory_iterator(tmp / "state")->path().string();
    }

    void JoinAndCompare(const std::string& source, int disks) {
        PutInDisk(1);
        Join(tmp / "samlet.bmp");
        for (int disk = 1; disk <= disks; ++disk) {
            PutInDisk(disk);
            Klar();
        }
        EXPECT_EQ(screen().lastNotice, N(NoticeId::kJoinDoneSeveral));
        EXPECT_EQ(ReadBytes(tmp / "samlet.bmp"), ReadBytes(source));
    }

    RecordStore records{tmp / "state"};
};

TEST_F(ResumeTest, AStoppedSplitGoesOnAtTheNextDisk) {
    const std::string source = FourDiskSource();
    Split(source);
    SplitDisks(1, 2);
    Restart();
    questions.resumeAnswers.push_back(true);
    Split(source);
    EXPECT_EQ(questions.resumeQuestions, std::vector<int>{2});
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDisk, 3));
    SplitDisks(3, 4);
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kSplitDoneSeveral));
    EXPECT_FALSE(fs::exists(tmp / "state") && !fs::is_empty(tmp / "state"));
    JoinAndCompare(source, 4);
}

TEST_F(ResumeTest, ARecordThatLagsADiskWritesThatDiskAgain) {
    const std::string source = FourDiskSource();
    Split(source);
    SplitDisks(1, 1);
    const auto afterDiskOne = ReadBytes(RecordFile());
    SplitDisks(2, 2);
    // The power went between disk 2's commit and its record.
    WriteBytes(RecordFile(), afterDiskOne);
    Restart();
    questions.resumeAnswers.push_back(true);
    Split(source);
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDisk, 2));
    SplitDisks(2, 4);
    JoinAndCompare(source, 4);
}

// The record of a disk is staged before the disk is flushed; a step that fails after that,
// in the copy or in the commit, leaves the record of the disk before and nothing staged.
TEST_F(ResumeTest, AFailedStepLeavesTheRecordOfTheDiskBefore) {
    const std::string source = FourDiskSource();
    Split(source);
    SplitDisks(1, 1);
    const auto afterDiskOne = ReadBytes(RecordFile());
    files.beforeCommit = [] {
        errno = EIO;
        return false;
    };
    EXPECT_EQ(Klar().result, StepResult::kSameDisk);
    files.beforeCommit = nullptr;
    files.beforeRename = [](const std::string& to) {
        errno = EIO;
        return to.find("bilde_bmp_2") == std::string::npos;
    };
    EXPECT_EQ(Klar().result, StepResult::kSameDisk);
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp / "state"), fs::directory_iterator()), 1);
    EXPECT_EQ(ReadBytes(RecordFile()), afterDiskOne);
    files.beforeRename = nullptr;
    SplitDisks(2, 4);
    JoinAndCompare(source, 4);
}

TEST_F(ResumeTest, NoStartsFromDiskOneAndKeepsTheRecordUntilItsFirstDisk) {
    const std::string source = FourDiskSource();
    Split(source);
    SplitDisks(1, 2);
    Restart();
    questions.resumeAnswers.push_back(false);
    Split(source);
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDisk, 1));
    EXPECT_EQ(records.Load(TransferKind::kSplit, source).record.nextDisk, 3);
    Klar();
    EXPECT_EQ(records.Load(TransferKind::kSplit, source).record.nextDisk, 2);
}

TEST_F(ResumeTest, AStoppedJoinGoesOnAtTheNextDisk) {
    const std::string source = FourDiskSource();
    Split(source);
    SplitDisks(1, 4);
    PutInDisk(1);
    const std::string joined = tmp / "samlet.bmp";
    Join(joined);
    Klar();
    PutInDisk(2);
    Klar();
    Restart();
    PutInDisk(1);
    questions.resumeAnswers.push_back(true);
    Join(joined);
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDisk, 3));
    for (int disk = 3; disk <= 4; ++disk) {
        PutInDisk(disk);
        Klar();
    }
    EXPECT_EQ(ReadBytes(joined), ReadBytes(source));
}

// Whatever does not match the record refuses to go on, says why, and writes nothing.
struct Mismatch {
    const char* label;
    TransferKind kind;
    std::function<void(ResumeTest&, const std::string& file)> make;
    const char* line;
};

void PrintTo(const Mismatch& m, std::ostream* os) {
    *os << m.label;
}

class ResumeRefusalTest : public ResumeTest, public ::testing::WithParamInterface<Mismatch> {};

TEST_P(ResumeRefusalTest, RefusesWithTheReasonAndWritesNothing) {
    const Mismatch& m = GetParam();
    const std::string source = FourDiskSource();
    Split(source);
    std::string file = source;
    if (m.kind == TransferKind::kSplit) {
        SplitDisks(1, 2);
    } else {
        SplitDisks(1, 4);
        file = tmp / "samlet.bmp";
        PutInDisk(1);
        Join(file);
        Klar();
        PutInDisk(2);
        Klar();
        PutInDisk(1);
    }
    m.make(*this, file);
    const auto before = ReadBytes(file);
    Restart();
    questions.resumeAnswers.push_back(true);
    if (m.kind == TransferKind::kSplit) {
        Split(file);
    } else {
        Join(file);
    }
    EXPECT_EQ(transfer.armed, TransferKind::kNone);
    ASSERT_FALSE(observer.reasons.empty());
    EXPECT_EQ(observer.reasons.back(), m.line);
    EXPECT_EQ(ReadBytes(file), before);
}

INSTANTIATE_TEST_SUITE_P(
    Mismatches, ResumeRefusalTest,
    ::testing::Values(
        Mismatch{"SourceRewritten", TransferKind::kSplit,
                 [](ResumeTest&, const std::string& file) {
                     std::ofstream(file, std::ios::in | std::ios::out | std::ios::binary)
                         << "endret";
                     fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(1));
                 },
                 "Kildefilen er endret siden kopieringen begynte"},
        Mismatch{"JoinedFileOfAnotherLength", TransferKind::kJoin,
                 [](ResumeTest&, const std::string& file) { fs::resize_file(file, 1'500'000); },
                 "Målfilen er ikke lenger slik den avbrutte overføringen etterlot den"},
        Mismatch{"JoinedFileGone", TransferKind::kJoin,
                 [](ResumeTest&, const std::string& file) {
                     fs::rename(file, file + ".flyttet");
                     WriteBytes(file, PatternBytes(2'000'000, 4));
                 },
                 "Målfilen er ikke lenger slik den avbrutte overføringen etterlot den"},
        // The record claims more than disk 2, which is in the drive, holds.
        Mismatch{"RecordClaimsMoreThanTheLastDisk", TransferKind::kSplit,
                 [](ResumeTest& test, const std::string&) {
                     const std::string path = test.RecordFile();
                     const auto bytes = ReadBytes(path);
                     std::string text(bytes.begin(), bytes.end());
                     const auto at = text.find("ferdig ") + 7;
                     const auto end = text.find('\n', at);
                     const std::string more = std::to_string(std::stoll(text.substr(at)) + 1000);
                     text.replace(at, end - at, more);
                     WriteBytes(path, {text.begin(), text.end()});
                     test.PutInDisk(2);
                 },
                 "Disk 2 stemmer ikke med opptegnelsen av den avbrutte overføringen"}),
    [](const auto& info) { return std::string(info.param.label); });

// What stands at a record's name, or in place of the state folder, when it is not a small
// regular file of the user's own in a folder of the user's own: set aside with its reason,
// never read, never removed.
struct Planted {
    const char* label;
    void (*plant)(const std::string& folder, const std::string& record);
    const char* reason;
};

class PlantedRecordTest : public ResumeTest, public ::testing::WithParamInterface<Planted> {};

TEST_P(PlantedRecordTest, IsSetAsideAndLeftAlone) {
    const std::string source = FourDiskSource();
    Split(source);
    SplitDisks(1, 1);
    const std::string record = RecordFile();
    fs::remove(record);
    GetParam().plant(tmp / "state", record);
    const auto before = fs::symlink_status(record).type();
    Restart();
    questions.resumeAnswers.push_back(true);
    Split(source);
    EXPECT_TRUE(questions.resumeQuestions.empty());
    EXPECT_EQ(screen().lastNotice, N(NoticeId::kInsertDisk, 1));
    EXPECT_THAT(observer.reasons, ::testing::Contains(GetParam().reason));
    EXPECT_EQ(fs::symlink_status(record).type(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Records, PlantedRecordTest,
    ::testing::Values(
        Planted{"Fifo",
                [](const std::string&, const std::string& record) { mkfifo(record.c_str(), 0600); },
                "Opptegnelsen av den avbrutte overføringen er ikke en vanlig fil og er lagt til "
                "side"},
        Planted{"LinkToAFile",
                [](const std::string& folder, const std::string& record) {
                    WriteBytes(folder + "/../hemmelig", {'x'});
                    fs::create_symlink(folder + "/../hemmelig", record);
                },
                "Opptegnelsen av den avbrutte overføringen er ikke en vanlig fil og er lagt til "
                "side"},
        Planted{"Huge",
                [](const std::string&, const std::string& record) {
                    WriteBytes(record, std::vector<char>(1 << 20, 'x'));
                },
                "Opptegnelsen av den avbrutte overføringen er for stor og er lagt til side"},
        Planted{"FolderIsALink",
                [](const std::string& folder, const std::string& record) {
                    fs::rename(folder, folder + "-annet");
                    fs::create_symlink(folder + "-annet", folder);
                    WriteBytes(record, {'x'});
                },
                "Mappen for opptegnelser er ikke brukerens egen mappe: den er lagt til side"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(RecordStoreTest, KeepsItsFolderToTheUser) {
    TempFolder tmp;
    const RecordStore store(tmp / "state");
    TransferRecord record{TransferKind::kSplit, "/a", "a", "", 10, 2, 5, {}, {}};
    ASSERT_TRUE(store.Save(record));
    EXPECT_EQ(fs::status(tmp / "state").permissions() & fs::perms::all, fs::perms::owner_all);
    fs::permissions(tmp / "state", fs::perms::all);
    EXPECT_EQ(store.Load(TransferKind::kSplit, "/a").found, RecordStore::Found::kRecord);
    EXPECT_EQ(fs::status(tmp / "state").permissions() & fs::perms::all, fs::perms::owner_all);
}

// Records that are not whole, or name another file, are never gone on with.
TEST(RecordTest, OnlyAWholeRecordOfTheFileIsRead) {
    TempFolder tmp;
    const RecordStore store(tmp / "state");
    TransferRecord record{TransferKind::kSplit,
                          "/bilder/bilde.bmp",
                          "bilde.bmp",
                          "3F9A1C",
                          3'500'000,
                          3,
                          2'000'000,
                          FileStamp{{1, 2, 3'500'000}, {10, 20}, {30, 40}},
                          {}};
    ASSERT_TRUE(store.Save(record));
    const auto found = store.Load(TransferKind::kSplit, record.path);
    ASSERT_EQ(found.found, RecordStore::Found::kRecord);
    EXPECT_EQ(found.record, record);
    EXPECT_EQ(store.Load(TransferKind::kJoin, record.path).found, RecordStore::Found::kNone);

    const std::string text = FormatRecord(record);
    const std::string file = fs::directory_iterator(tmp / "state")->path().string();
    const std::vector<std::string> damaged = {
        text.substr(0, text.size() / 2),
        text.substr(0, text.size() - 1),
        "",
        std::string(text).replace(text.find("neste-diskett 3"), 15, "neste-diskett x"),
        std::string(text).replace(text.find("ferdig 2000000"), 14, "ferdig 9999999"),
        FormatRecord({TransferKind::kSplit, "/andre/fil.bmp", "fil.bmp", "", 10, 2, 5, {}, {}}),
    };
    for (const std::string& bytes : damaged) {
        WriteBytes(file, {bytes.begin(), bytes.end()});
        EXPECT_EQ(store.Load(TransferKind::kSplit, record.path).found, RecordStore::Found::kDamaged)
            << bytes;
    }
}

// A split with parity disks keeps where it stands among them; a record with part of the
// parity lines, or impossible ones, is damaged.
TEST(RecordTest, ParityLinesGoThereAndBackWhole) {
    TransferRecord record{TransferKind::kSplit, "/a", "a", "3F9A1C", 10, 5, 10, {}, {2, 4, 3, 1}};
    const std::string text = FormatRecord(record);
    EXPECT_EQ(ParseRecord(text), record);
    const auto replaced = [&text](const std::string& line, const std::string& with) {
        return std::string(text).replace(text.find(line), line.size(), with);
    };
    for (const std::string& damaged :
         {replaced("skive 4\n", ""), replaced("paritet 2", "paritet 0"),
          replaced("skive 4", "skive 6"), replaced("neste-paritet 1", "neste-paritet 3"),
          replaced("paritet 2\n", "slutt\npartiet 2\n")}) {
        EXPECT_EQ(ParseRecord(damaged), std::nullopt) << damaged;
    }
}

}  // namespace
}  // namespace torvanik::testing
