#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "par2_test_set.h"
#include "platform/child_process.h"
#include "platform/par2/par2_packets.h"
#include "support/temp_folder.h"

namespace torvanik::par2 {
namespace {

std::string PatternText(std::size_t size, unsigned seed) {
    const std::vector<char> bytes = testing::PatternBytes(size, seed);
    return {bytes.begin(), bytes.end()};
}

void WriteText(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadText(const std::string& path) {
    const std::vector<char> bytes = testing::ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

struct OracleCase {
    std::vector<Chunk> chunks;
    std::uint64_t sliceSize;
    std::string setId, recovery0, recovery1;
};

std::vector<Chunk> TwelveChunks() {
    std::vector<Chunk> chunks;
    for (int i = 1; i <= 12; ++i) {
        chunks.push_back({"c_" + std::to_string(i), "chunk number " + std::to_string(i)});
    }
    return chunks;
}

// What `par2 create -s<slice> -c2` wrote for the same files: the set's ID and the two
// recovery slices, which fix the files' order (by ID, as little-endian numbers: the
// twelve files tell it from any other) and their constants.
TEST(Par2OracleTest, GivesTheIdsAndRecoverySlicesOfPar2ForTheSameFiles) {
    const OracleCase cases[] = {
        {{{"a_1", "hello world\n"}, {"a_2", "second chunk!!!"}, {"a_3", "x"}},
         16,
         "e12a508a9263077e7e2061b9885e5759",
         "63000f030144570c1a190a6121212100",
         "bcfd3c783aee0a51ca4d9c7042424200"},
        {TwelveChunks(), 32, "8bf0bdfdd59ec813e0e9869b0fee640a", "",
         "0c4ac5d064133cf5847fe1b235b6968d00000000000000000000000000000000"},
    };
    for (const OracleCase& c : cases) {
        const TestSet set = MakeSet(c.chunks, c.sliceSize);
        EXPECT_EQ(Hex(RecoverySetIdOf(set.layout)), c.setId);
        if (!c.recovery0.empty()) {
            EXPECT_EQ(Hex(RecoverySlice(set, 0)), c.recovery0);
        }
        EXPECT_EQ(Hex(RecoverySlice(set, 1)), c.recovery1);
    }
    const TestSet set = MakeSet(cases[0].chunks, 16);
    EXPECT_EQ(Hex(FileIdOf(set.layout.files[0])), "95dd8a4fd86f5bb71e28aa71eaa633d2");
    EXPECT_EQ(set.layout.files[0].sliceCrc, 0xd59296ffU);
}

// Files that par2 verifies, then repairs after one is deleted and another damaged.
TEST(Par2OracleTest, Par2VerifiesTheSetAndRepairsTwoChunksFromIt) {
    if (!OnPath("par2")) {
        GTEST_SKIP() << "par2 is not installed";
    }
    const TestSet set = MakeSet({{"S_1", PatternText(6000, 1)},
                                 {"S_2", PatternText(6000, 2)},
                                 {"S_3", PatternText(4099, 3)}},
                                6000);
    testing::TempFolder folder;
    for (const Chunk& chunk : set.chunks) {
        WriteText(folder / chunk.name, chunk.bytes);
    }
    WriteText(folder / "S.par2", CriticalPackets(set.layout, "Torvanik test"));
    WriteText(folder / "S.vol00+01.par2", VolumeBytes(set, 0));
    WriteText(folder / "S.vol01+01.par2", VolumeBytes(set, 1));
    const Result<ChildOutput> verified = RunChild({"par2", "v", folder / "S.par2"});
    ASSERT_TRUE(Succeeded(verified)) << verified->output << ComplaintOf(verified);
    EXPECT_EQ(verified->errors, "");

    std::filesystem::remove(folder / "S_2");
    std::string damaged = set.chunks[2].bytes;
    damaged[4000] ^= 0x20;
    WriteText(folder / "S_3", damaged);
    const Result<ChildOutput> repaired = RunChild({"par2", "r", folder / "S.par2"});
    ASSERT_TRUE(Succeeded(repaired)) << repaired->output << ComplaintOf(repaired);
    for (const Chunk& chunk : set.chunks) {
        EXPECT_EQ(ReadText(folder / chunk.name), chunk.bytes) << chunk.name;
    }
}

}  // namespace
}  // namespace torvanik::par2
