#include <cstdlib>
#include <filesystem>

#include "cli_fixture.h"

namespace torvanik::testing {
namespace {

using CliLocaleTest = CliTest;

// The system's reason follows the user's language, here from a locale made for the test.
TEST_F(CliLocaleTest, SystemErrorTextsFollowTheUsersLanguage) {
    const std::string locales = temp / "locales";
    std::filesystem::create_directories(locales);
    const std::string make =
        "localedef -i nb_NO -f UTF-8 '" + locales + "/nb_NO.UTF-8' >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0) {
        GTEST_SKIP() << "localedef could not make nb_NO.UTF-8 (Debian: locales)";
    }
    auto arguments = DriveOption("A:", drive);
    arguments.insert(arguments.end(), {"split", temp / "borte.bin"});
    const Session run =
        Run(arguments, {.environment = {"LOCPATH=" + locales, "LC_ALL=nb_NO.UTF-8", "LANGUAGE"}});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.pieces[0].find("Kildefilen kan ikke åpnes: Ingen slik fil eller filkatalog"),
              std::string::npos)
        << run.pieces[0];
}

}  // namespace
}  // namespace torvanik::testing
