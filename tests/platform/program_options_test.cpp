#include "platform/program_options.h"

#include <gtest/gtest.h>

namespace torvanik::testing {
namespace {

using Request = ProgramArguments::Request;

constexpr ProgramOption kOptions[] = {{"drive", true}, {"no-eject"}, {"no-verify"}};

struct OptionsCase {
    std::vector<std::string> arguments;
    Request request;
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
    const ProgramArguments parsed = ParseProgramArguments(kOptions, c.arguments);
    EXPECT_EQ(parsed.request, c.request);
    std::vector<std::string> options;
    for (const auto& [name, value] : parsed.options) {
        options.push_back(std::string(name) + "=" + value);
    }
    if (c.request == Request::kRun) {
        EXPECT_EQ(options, c.options);
    }
    EXPECT_EQ(parsed.operands, c.operands);
    EXPECT_EQ(parsed.error, c.error);
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
        OptionsCase{{"-x", "-h"}, Request::kError, {}, {}, "ukjent valg: -x"},
        OptionsCase{{"--nope=1"}, Request::kError, {}, {}, "ukjent valg: --nope"},
        OptionsCase{{"--no-"}, Request::kError, {}, {}, "tvetydig valg: --no-"},
        OptionsCase{{"split", "--drive"}, Request::kError, {}, {}, "--drive mangler verdi"},
        OptionsCase{{"--no-eject=ja"}, Request::kError, {}, {}, "--no-eject tar ingen verdi"},
        OptionsCase{{"--help=1"}, Request::kError, {}, {}, "--help tar ingen verdi"},
        OptionsCase{{"-drive"}, Request::kError, {}, {}, "ukjent valg: -d"}));

}  // namespace
}  // namespace torvanik::testing
