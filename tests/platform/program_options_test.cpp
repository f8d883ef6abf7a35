#include "platform/program_options.h"

#include <gtest/gtest.h>

#include <optional>

namespace torvanik::testing {
namespace {

using Request = ProgramArguments::Request;
// A command line that is refused asks for nothing.
constexpr std::optional<Request> kRefused = std::nullopt;

constexpr ProgramOption kOptions[] = {{"drive", true}, {"no-eject"}, {"no-verify"}};

struct OptionsCase {
    std::vector<std::string> arguments;
    std::optional<Request> request;
    // "name=value" for each option given, then the operands, or the error.
    std::vector<std::string> options;
    std::vector<std::string> operands;
    std::string error;
};

void PrintTo(const OptionsCase& c, std::ostream* out) {
    for (const auto& argument : c.arguments) {
        *out << '[' << argument << ']';
    }
}

class ProgramOptionsTest : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(ProgramOptionsTest, ReadsTheCommandLine) {
    const OptionsCase& c = GetParam();
    const Result<ProgramArguments> parsed = ParseProgramArguments(kOptions, c.arguments);
    if (!c.request) {
        ASSERT_FALSE(parsed);
        EXPECT_EQ(parsed.why().text, c.error);
        return;
    }
    ASSERT_TRUE(parsed) << parsed.why().text;
    EXPECT_EQ(parsed->request, *c.request);
    std::vector<std::string> options;
    for (const auto& [name, value] : parsed->options) {
        options.push_back(std::string(name) + "=" + value);
    }
    if (c.request == Request::kRun) {
        EXPECT_EQ(options, c.options);
    }
    EXPECT_EQ(parsed->operands, c.operands);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramOptionsTest,
    ::testing::Values(
        OptionsCase{{}, Request::kRun, {}, {}, ""},
        OptionsCase{{"--drive=A:=/x,capacity=5", "--no-eject"},
                    Request::kRun,
                    {"drive=A:=/x,capacity=5", "no-eject="},
                    {},
                    ""},
        OptionsCase{{"--drive", "A:=/x"}, Request::kRun, {"drive=A:=/x"}, {}, ""},
        OptionsCase{{"--dri", "B:=/y"}, Request::kRun, {"drive=B:=/y"}, {}, ""},
        OptionsCase{{"--drive", "--no-eject"}, Request::kRun, {"drive=--no-eject"}, {}, ""},
        OptionsCase{
            {"split", "--no-verify", "a b"}, Request::kRun, {"no-verify="}, {"split", "a b"}, ""},
        OptionsCase{{"--no-eject", "--", "--no-verify", "-h"},
                    Request::kRun,
                    {"no-eject="},
                    {"--no-verify", "-h"},
                    ""},
        OptionsCase{{"-", ""}, Request::kRun, {}, {"-", ""}, ""},
        OptionsCase{{"-h"}, Request::kHelp, {}, {}, ""},
        OptionsCase{{"--drive", "A:=/x", "--help", "--nope"}, Request::kHelp, {}, {}, ""},
        OptionsCase{{"-V"}, Request::kVersion, {}, {}, ""},
        OptionsCase{{"-hx"}, Request::kHelp, {}, {}, ""},
        OptionsCase{{"-x", "-h"}, kRefused, {}, {}, "ukjent valg: -x"},
        OptionsCase{{"--nope=1"}, kRefused, {}, {}, "ukjent valg: --nope"},
        OptionsCase{{"--no-"}, kRefused, {}, {}, "tvetydig valg: --no-"},
        OptionsCase{{"split", "--drive"}, kRefused, {}, {}, "--drive mangler verdi"},
        OptionsCase{{"--no-eject=ja"}, kRefused, {}, {}, "--no-eject tar ingen verdi"},
        OptionsCase{{"--help=1"}, kRefused, {}, {}, "--help tar ingen verdi"},
        OptionsCase{{"-drive"}, kRefused, {}, {}, "ukjent valg: -d"}));

}  // namespace
}  // namespace torvanik::testing
