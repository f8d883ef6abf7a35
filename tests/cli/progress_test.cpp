#include <cstdio>
#include <cstdlib>

#include "cli/progress_line.h"
#include "cli/progress_meter.h"
#include "cli_fixture.h"

namespace torvanik::testing {
namespace {

using cli::FormatBar;
using cli::FormatBytes;
using cli::FormatCheckLine;
using cli::FormatDuration;
using cli::FormatProgressLine;
using cli::ProgressFigures;
using cli::ProgressMeter;
using cli::TerminalShape;

TEST(CliProgressLineTest, BytesKeepAtMostThreeDigitsBeforeTheComma) {
    EXPECT_EQ(FormatBytes(0), "0 B");
    EXPECT_EQ(FormatBytes(999), "999 B");
    EXPECT_EQ(FormatBytes(1000), "1,0 kB");
    EXPECT_EQ(FormatBytes(1536), "1,5 kB");
    EXPECT_EQ(FormatBytes(1'023'999), "1,0 MB");
    EXPECT_EQ(FormatBytes(2'500'000), "2,4 MB");
    EXPECT_EQ(FormatBytes(3.0 * 1024 * 1024 * 1024), "3,0 GB");
}

TEST(CliProgressLineTest, DurationsRoundUpAndGrowAnHourField) {
    EXPECT_EQ(FormatDuration(0), "0:00");
    EXPECT_EQ(FormatDuration(0.2), "0:01");
    EXPECT_EQ(FormatDuration(59.5), "1:00");
    EXPECT_EQ(FormatDuration(3599), "59:59");
    EXPECT_EQ(FormatDuration(3725), "1:02:05");
}

TEST(CliProgressLineTest, BarsFillInProportionAndStayInside) {
    EXPECT_EQ(FormatBar(0, 10, 4), "[....]");
    EXPECT_EQ(FormatBar(5, 10, 4), "[##..]");
    EXPECT_EQ(FormatBar(10, 10, 4), "[####]");
    EXPECT_EQ(FormatBar(12, 10, 4), "[####]");
    EXPECT_EQ(FormatBar(0, 0, 4), "[####]");  // an empty chunk is done at once
}

TEST(CliProgressLineTest, LineHasBothBarsFiguresRateAndTimeLeft) {
    EXPECT_EQ(FormatProgressLine({500'000, 1'000'000, 1'500'000, 2'500'000, 1024.0 * 1024}, 120),
              "disk [######......] fil [#######.....]  1,4 MB av 2,4 MB  1,0 MB/s  0:01 igjen");
    EXPECT_EQ(FormatProgressLine({0, 10, 0, 10, std::nullopt}, 120),
              "disk [............] fil [............]  0 B av 10 B  --:-- igjen");
    EXPECT_EQ(FormatCheckLine({0, 0, 524'288, 2'097'152, 1024.0 * 1024}, 120),
              "Kontrollerer [###.........]  512,0 kB av 2,0 MB  1,0 MB/s  0:02 igjen");
}

// Half a chunk, 500 MB of 1 GB at 150 MB/s: 82 characters when nothing is left out.
constexpr ProgressFigures kWideFigures{500, 1000, 524'288'000, 1'073'741'824, 157'286'400.0};

struct FitCase {
    bool checking;
    int width;
    std::string line;
};

void PrintTo(const FitCase& c, std::ostream* out) {
    *out << (c.checking ? "check" : "copy") << c.width;
}

class CliProgressFitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(CliProgressFitTest, NarrowsTheBarsThenLeavesOutRateBytesAndTimeLeft) {
    const FitCase& c = GetParam();
    const std::string line = c.checking ? FormatCheckLine(kWideFigures, c.width)
                                        : FormatProgressLine(kWideFigures, c.width);
    EXPECT_EQ(line, c.line);
    EXPECT_LE(line.size(), static_cast<std::size_t>(c.width));
}

INSTANTIATE_TEST_SUITE_P(
    Widths, CliProgressFitTest,
    ::testing::Values(
        FitCase{false, 82,
                "disk [######......] fil [######......]  500,0 MB av 1,0 GB  150,0 MB/s  0:04 "
                "igjen"},
        FitCase{false, 79,
                "disk [#####.....] fil [#####.....]  500,0 MB av 1,0 GB  150,0 MB/s  0:04 igjen"},
        FitCase{false, 60, "disk [####...] fil [###....]  500,0 MB av 1,0 GB  0:04 igjen"},
        FitCase{false, 39, "disk [###...] fil [###...]  0:04 igjen"},
        FitCase{false, 12, "disk [##..] "},
        FitCase{true, 79,
                "Kontrollerer [######......]  500,0 MB av 1,0 GB  150,0 MB/s  0:04 igjen"},
        FitCase{true, 39, "Kontrollerer [######......]  0:04 igjen"}));

// The meter writing into memory, with a clock the test moves.
class CliProgressMeterTest : public ::testing::Test {
  protected:
    CliProgressMeterTest()
        : stream(open_memstream(&buffer, &size)), meter(stream, [this] { return shape; }) {}
    ~CliProgressMeterTest() override {
        std::fclose(stream);
        std::free(buffer);
    }

    std::string Written() {
        std::fflush(stream);
        std::string text(buffer, size);
        std::fseek(stream, 0, SEEK_SET);
        size = 0;
        return text;
    }
    ProgressMeter::Clock::time_point At(int ms) const { return t0 + std::chrono::milliseconds(ms); }

    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* stream;
    TerminalShape shape{120, true};
    ProgressMeter meter;
    const ProgressMeter::Clock::time_point t0 = ProgressMeter::Clock::now();
};

TEST_F(CliProgressMeterTest, RedrawsInPlaceAtMostEveryTenthOfASecondAndAtTheChunksEnd) {
    meter.Restart(t0);
    EXPECT_EQ(Written(), "");  // no line yet, so none to end
    meter.BlockCopied(16384, 1'048'576, 16384, 2'097'152, At(10));
    const std::string first = Written();
    EXPECT_EQ(first.rfind("\rdisk [", 0), 0u);
    EXPECT_EQ(first.substr(first.size() - 3), "\x1b[K");

    meter.BlockCopied(32768, 1'048'576, 32768, 2'097'152, At(60));
    EXPECT_EQ(Written(), "");
    meter.BlockCopied(49152, 1'048'576, 49152, 2'097'152, At(111));
    EXPECT_NE(Written(), "");
    meter.BlockCopied(1'048'576, 1'048'576, 1'048'576, 2'097'152, At(120));
    EXPECT_NE(Written().find("disk [############]"), std::string::npos);

    meter.Restart(At(130));
    EXPECT_EQ(Written(), "\n");  // the finished line stays on the screen

    // The read-back of the disk draws a line of its own, its rate timed from the restart.
    meter.Checked(524'288, 1'048'576, At(630));
    EXPECT_EQ(Written(),
              "\rKontrollerer [######......]  512,0 kB av 1,0 MB  1,0 MB/s  0:01 igjen\x1b[K");
}

TEST_F(CliProgressMeterTest, RateIsMeasuredFromTheRestartOverThisCopyOnly) {
    // A second disk: 1 MiB of the file was done before this copy began.
    meter.Restart(t0);
    meter.BlockCopied(524'288, 1'048'576, 1'572'864, 2'097'152, At(500));
    const std::string line = Written();
    EXPECT_NE(line.find("1,0 MB/s  0:01 igjen"), std::string::npos) << line;
}

TEST_F(CliProgressMeterTest, WithoutErasingBlanksWhatTheLongerLineLeft) {
    shape = {40, false};
    meter.Restart(t0);
    meter.BlockCopied(1000, 1'048'576, 1000, 2'097'152, At(500));
    EXPECT_EQ(Written(), "\rdisk [......] fil [......]  17:29 igjen");
    meter.BlockCopied(1'048'576, 1'048'576, 1'048'576, 2'097'152, At(2000));
    EXPECT_EQ(Written(), "\rdisk [######] fil [###...]  0:02 igjen ");
    // The terminal got narrower: the blanks stop at its edge.
    shape = {30, false};
    meter.BlockCopied(1'048'576, 1'048'576, 1'048'576, 2'097'152, At(2200));
    EXPECT_EQ(Written(), "\rdisk [#######] fil [####...] ");
}

// With standard error on a terminal, the split draws its progress line there.
using CliProgressTerminalTest = CliTest;

TEST_F(CliProgressTerminalTest, ProgressLineGoesToATerminalOnly) {
    const std::string source = MakeSource("bilde.bmp", 1'500'000);
    const CliStart wide{.stderrOnTerminal = true, .terminalColumns = 120};
    const Session split = SplitOntoDisks(source, {}, wide);
    EXPECT_EQ(split.status, 0);
    EXPECT_NE(split.errors.find("\rdisk [############] fil [########....]  975,6 kB av 1,4 MB"),
              std::string::npos)
        << split.errors;
    EXPECT_NE(split.errors.find("\rdisk [############] fil [############]  1,4 MB av 1,4 MB"),
              std::string::npos)
        << split.errors;
    // Standard output carries the notices alone, as without a terminal.
    EXPECT_EQ(split.pieces[1].find("disk ["), std::string::npos);
    // Every disk is read back, with a line of its own that moves as the disk is read,
    // unless --no-verify is given.
    EXPECT_NE(split.errors.find("\n\rKontrollerer [............]  32,0 kB av 975,6 kB"),
              std::string::npos)
        << split.errors;
    EXPECT_NE(split.errors.find("\rKontrollerer [############]  975,6 kB av 975,6 kB"),
              std::string::npos)
        << split.errors;
    const Session unchecked = SplitOntoDisks(source, {"--no-verify"}, wide);
    EXPECT_EQ(unchecked.status, 0);
    EXPECT_EQ(unchecked.errors.find("Kontrollerer"), std::string::npos);
}

struct TerminalCase {
    std::string name;
    unsigned short columns;  // as the terminal reports them
    std::vector<std::string> environment;
    std::size_t widest;  // the most characters a drawn line may have
    bool erases;         // whether "\x1b[K" may be sent
};

void PrintTo(const TerminalCase& c, std::ostream* out) {
    *out << c.name;
}

class CliProgressWidthTest : public CliTest, public ::testing::WithParamInterface<TerminalCase> {};

TEST_P(CliProgressWidthTest, EveryDrawnLineFitsTheTerminal) {
    const TerminalCase& c = GetParam();
    const std::string source = MakeSource("bilde.bmp", 1'500'000);
    const Session split = SplitOntoDisks(source, {}, {true, c.columns, c.environment});
    ASSERT_EQ(split.status, 0);
    std::string errors = split.errors;
    EXPECT_EQ(errors.find('\x1b') != std::string::npos, c.erases) << errors;
    for (std::size_t at; (at = errors.find("\x1b[K")) != std::string::npos;) {
        errors.erase(at, 3);
    }
    int drawn = 0;
    std::size_t start = 0;
    while (start < errors.size()) {
        const std::size_t end = std::min(errors.find_first_of("\r\n", start), errors.size());
        const std::string line = errors.substr(start, end - start);
        EXPECT_LE(line.size(), c.widest) << '"' << line << '"';
        drawn += line.starts_with("disk [") || line.starts_with("Kontrollerer [") ? 1 : 0;
        start = end + 1;
    }
    EXPECT_GE(drawn, 4) << errors;
}

INSTANTIATE_TEST_SUITE_P(
    Terminals, CliProgressWidthTest,
    ::testing::Values(TerminalCase{"Columns80", 80, {"TERM=xterm"}, 79, true},
                      TerminalCase{"Columns40", 40, {"TERM=xterm"}, 39, true},
                      TerminalCase{"SizeFromColumns", 0, {"TERM=xterm", "COLUMNS=50"}, 49, true},
                      TerminalCase{"NoSizeAtAll", 0, {"TERM=xterm", "COLUMNS"}, 79, true},
                      TerminalCase{"Dumb", 40, {"TERM=dumb"}, 39, false},
                      TerminalCase{"NoTerm", 60, {"TERM"}, 59, false}),
    [](const ::testing::TestParamInfo<TerminalCase>& info) { return info.param.name; });

}  // namespace
}  // namespace torvanik::testing
