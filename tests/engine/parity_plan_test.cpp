#include "engine/parity_plan.h"

#include <gtest/gtest.h>

#include <limits>

namespace torvanik::testing {
namespace {

constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();

std::size_t NameBytes(int disk) {
    return std::string("bilde_bmp_").size() + std::to_string(disk).size();
}

struct PlanCase {
    const char* name;
    std::uint64_t size, room, largest;
    int disks;  // 0: no plan
};

class PlanSlicesTest : public ::testing::TestWithParam<PlanCase> {};

// The slices cover the file, and disk 1 keeps room for a parity disk's packets beside one.
TEST_P(PlanSlicesTest, SlicesCoverTheFileAndLeaveRoomForTheParity) {
    const PlanCase& c = GetParam();
    const auto plan = PlanSlices(c.size, c.room, c.largest, 512, NameBytes);
    if (c.disks == 0) {
        EXPECT_EQ(plan, std::nullopt);
        return;
    }
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->dataDisks, c.disks);
    EXPECT_EQ(plan->sliceSize % 4, 0u);
    EXPECT_GE(plan->sliceSize * static_cast<std::uint64_t>(plan->dataDisks), c.size);
    EXPECT_LT(plan->sliceSize * static_cast<std::uint64_t>(plan->dataDisks - 1), c.size);
    const std::uint64_t reserve = ParityReserve(plan->dataDisks, NameBytes(plan->dataDisks), 512);
    EXPECT_LE(plan->sliceSize + reserve, std::min(c.room, c.largest));
}

INSTANTIATE_TEST_SUITE_P(
    Plans, PlanSlicesTest,
    ::testing::Values(PlanCase{"WholeFile", 1001, 1'456'640, kNoLimit, 1},
                      PlanCase{"ThreeFloppies", 3'500'000, 1'456'640, kNoLimit, 3},
                      PlanCase{"ExactlyTwoSlices", 2'904'000, 1'456'640, kNoLimit, 2},
                      PlanCase{"FileLimit", 10'000'000, kNoLimit, 1 << 20, 10},
                      PlanCase{"NoRoomForASlice", 10'000, 4'000, kNoLimit, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParityNamesTest, PrintableAsciiOnlyAndTheExponentInTwoDigits) {
    EXPECT_EQ(ParityBaseName("bilde bl\xC3\xA5_bmp"), "bilde_bl___bmp");
    EXPECT_EQ(ParityIndexName("bilde_bmp"), "bilde_bmp.par2");
    EXPECT_EQ(ParityVolumeName("bilde_bmp", 1), "bilde_bmp.vol00+01.par2");
    EXPECT_EQ(ParityVolumeName("bilde_bmp", 9), "bilde_bmp.vol08+01.par2");
    EXPECT_EQ(SetTakesText(1, 1), "Settet får 1 diskett og 1 paritetsdiskett.");
    EXPECT_EQ(SetTakesText(15, 2), "Settet får 15 disketter og 2 paritetsdisketter.");
}

}  // namespace
}  // namespace torvanik::testing
