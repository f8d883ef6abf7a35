#include <gtest/gtest.h>

#include "par2_test_set.h"
#include "platform/par2/gf16.h"
#include "platform/par2/par2_solve.h"
#include "support/temp_folder.h"

namespace torvanik::par2 {
namespace {

std::uint8_t* Bytes(std::string& s) {
    return reinterpret_cast<std::uint8_t*>(s.data());
}

// The missing slices rebuilt from the recovery slices of `exponents` and the other chunks,
// by the factors RebuildMatrix gives.
std::optional<std::vector<std::string>> Rebuild(const TestSet& set, const std::vector<int>& missing,
                                                const std::vector<std::uint32_t>& exponents) {
    const auto factors = RebuildMatrix(set.layout, missing, exponents);
    if (!factors) {
        return std::nullopt;
    }
    const std::vector<std::uint16_t> constants = SliceConstants(set.layout);
    std::vector<std::string> rebuilt(missing.size(), std::string(set.layout.sliceSize, '\0'));
    for (std::size_t e = 0; e < exponents.size(); ++e) {
        std::string known = RecoverySlice(set, exponents[e]);
        for (std::size_t i = 0; i < set.chunks.size(); ++i) {
            if (std::find(missing.begin(), missing.end(), static_cast<int>(i)) == missing.end()) {
                std::string slice = set.chunks[i].bytes;
                slice.resize(known.size(), '\0');
                GfMultiplyAdd(GfPower(constants[i], exponents[e]), Bytes(slice), Bytes(known),
                              known.size());
            }
        }
        for (std::size_t j = 0; j < missing.size(); ++j) {
            GfMultiplyAdd((*factors)[j][e], Bytes(known), Bytes(rebuilt[j]), known.size());
        }
    }
    return rebuilt;
}

TEST(Par2SolveTest, RebuildsEveryMissingChunkFromAsManyRecoverySlices) {
    std::vector<Chunk> chunks;
    for (unsigned i = 0; i < 6; ++i) {
        const std::vector<char> bytes = testing::PatternBytes(i == 5 ? 50 : 64, i + 1);
        chunks.push_back({"R_" + std::to_string(i + 1), {bytes.begin(), bytes.end()}});
    }
    const TestSet set = MakeSet(chunks, 64);
    struct Case {
        std::vector<int> missing;
        std::vector<std::uint32_t> exponents;
    } cases[] = {
        {{0}, {0}},
        {{5}, {0}},
        {{2}, {7}},
        {{1, 4}, {0, 1}},
        {{5, 0}, {1, 2}},
        {{3, 1}, {0, 1, 2}},
        {{0, 2, 5}, {0, 1, 2}},
        {{1, 2, 3}, {2, 5, 9}},
    };
    for (const Case& c : cases) {
        const auto rebuilt = Rebuild(set, c.missing, c.exponents);
        ASSERT_TRUE(rebuilt) << c.missing.size() << " missing";
        for (std::size_t j = 0; j < c.missing.size(); ++j) {
            std::string expected = set.chunks[c.missing[j]].bytes;
            expected.resize(64, '\0');
            EXPECT_EQ((*rebuilt)[j], expected) << "disk " << c.missing[j] + 1;
        }
    }
    EXPECT_FALSE(RebuildMatrix(set.layout, {1, 2}, {0}));     // too few
    EXPECT_FALSE(RebuildMatrix(set.layout, {1, 1}, {0, 1}));  // one column twice
    EXPECT_FALSE(RebuildMatrix(set.layout, {6}, {0}));        // no such disk
}

}  // namespace
}  // namespace torvanik::par2
