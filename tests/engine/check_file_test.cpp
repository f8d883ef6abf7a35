#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/check_file.h"

namespace torvanik::testing {
namespace {

struct NameCase {
    const char* name;
    std::optional<std::string> identity;
};

class CheckFileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(CheckFileNameTest, TellsTheSetOnlyFromACheckFilesName) {
    EXPECT_EQ(IdentityInName(GetParam().name), GetParam().identity);
}

INSTANTIATE_TEST_SUITE_P(Names, CheckFileNameTest,
                         ::testing::Values(NameCase{"TV3F9A1C.XXH", "3F9A1C"},
                                           // A FAT disk may show its short names in lower case.
                                           NameCase{"tv3f9a1c.xxh", "3F9A1C"},
                                           NameCase{"TV3F9A1G.XXH", std::nullopt},
                                           NameCase{"TV3F9A1.XXH", std::nullopt},
                                           NameCase{"TV3F9A1C.XXH~", std::nullopt},
                                           NameCase{"XV3F9A1C.XXH", std::nullopt},
                                           NameCase{"TV3F9A1C.TXT", std::nullopt},
                                           NameCase{"INFO.FIL", std::nullopt}));

TEST(CheckFileTest, NewSetsGetAnEightDotThreeNameOfTheirOwn) {
    const std::string identity = NewSetIdentity();
    const std::string name = CheckFileName(identity);
    EXPECT_THAT(name, ::testing::MatchesRegex("TV[0-9A-F]{6}\\.XXH"));
    EXPECT_EQ(IdentityInName(name), identity);
}

// The lines as `xxhsum -H2` writes them for the same bytes.
TEST(CheckFileTest, LinesAreXxhsumsOwn) {
    EXPECT_EQ(CheckLine(DigestOf("hello", 5), "INFO.FIL"),
              "b5e9c1ad071b3e7fc779cfaa5e523818  INFO.FIL\n");
    EXPECT_EQ(CheckLine(DigestOf("abc", 3), "bl\xC3\xA5_1"),
              "06b05ab6733a618578af5f94892f3950  bl\xC3\xA5_1\n");
}

using Found = CheckFileLine::Found;

struct LineCase {
    const char* label;
    std::string text;
    Found found;
};

class CheckFileLineTest : public ::testing::TestWithParam<LineCase> {};

// Every line must be a check line, and a file listed twice must be summed alike.
TEST_P(CheckFileLineTest, FindsTheLineOfTheNamedFileOnly) {
    const Digest128 digest{0x06b05ab6733a6185, 0x78af5f94892f3950};
    const CheckFileLine summed = DigestInCheckFile(GetParam().text, "film_avi_2");
    EXPECT_EQ(summed.found, GetParam().found);
    if (summed.found == Found::kLine) {
        EXPECT_EQ(summed.digest, digest);
    }
}

const std::string kInfoLine = "b5e9c1ad071b3e7fc779cfaa5e523818  INFO.FIL\n";
const std::string kChunkLine = "06b05ab6733a618578af5f94892f3950  film_avi_2\n";

INSTANTIATE_TEST_SUITE_P(
    Lines, CheckFileLineTest,
    ::testing::Values(
        LineCase{"Second", kInfoLine + kChunkLine, Found::kLine},
        LineCase{"BinaryMarkAndNoEnd", "06b05ab6733a618578af5f94892f3950 *film_avi_2",
                 Found::kLine},
        LineCase{"CarriageReturn", "06B05AB6733A618578AF5F94892F3950  film_avi_2\r\n",
                 Found::kLine},
        LineCase{"ListedTwiceAlike", kChunkLine + kInfoLine + kChunkLine, Found::kLine},
        LineCase{"ListedTwiceUnlike", kChunkLine + "16b05ab6733a618578af5f94892f3950  film_avi_2\n",
                 Found::kTwoDigests},
        LineCase{"OtherName", "06b05ab6733a618578af5f94892f3950  film_avi_20\n", Found::kNoLine},
        LineCase{"OneSpace", "06b05ab6733a618578af5f94892f3950 film_avi_2\n", Found::kDamagedText},
        LineCase{"ShortDigest", "06b05ab6733a618578af5f94892f395  film_avi_2\n",
                 Found::kDamagedText},
        LineCase{"NotHex", "06b05ab6733a618578af5f94892f395g  film_avi_2\n", Found::kDamagedText},
        LineCase{"Signed", "+6b05ab6733a618578af5f94892f3950  film_avi_2\n", Found::kDamagedText},
        // A damaged line of another file spoils the whole check file.
        LineCase{"OtherLineDamaged",
                 "\xEF\xBB\xBF"
                 "b5e9c1ad071b3e7fc779cfaa5e523818  INFO.FIL\n" +
                     kChunkLine,
                 Found::kDamagedText},
        LineCase{"EmptyLine", kInfoLine + "\n" + kChunkLine, Found::kDamagedText}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace torvanik::testing
