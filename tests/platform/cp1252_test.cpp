#include "platform/cp1252.h"

#include <gtest/gtest.h>

namespace torvanik::testing {
namespace {

TEST(Cp1252Test, NorwegianLettersAndTheWindowsRangeRoundTrip) {
    const std::string cp1252 = "bl\xE5 \xF8l \xE9 \xC5\xD8\xC6 \x80 \x9F";
    const std::string utf8 = Cp1252ToUtf8(cp1252);
    EXPECT_EQ(utf8, "bl\xC3\xA5 \xC3\xB8l \xC3\xA9 \xC3\x85\xC3\x98\xC3\x86 \xE2\x82\xAC \xC5\xB8");
    EXPECT_EQ(Utf8ToCp1252(utf8), cp1252);
    EXPECT_EQ(Cp1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(Cp1252ToUnicode(0x81), U'\u0081');
}

TEST(Cp1252Test, WhatWindows1252CannotHoldBecomesUnderscore) {
    EXPECT_EQ(Utf8ToCp1252("\xC5\x82\xC3\xB3"
                           "d\xC5\xBA"),
              "_\xF3"
              "d_");                                     // "łódź"
    EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80x"), "_x");  // an emoji
    EXPECT_EQ(Utf8ToCp1252("a\xFF"
                           "b\xC3"),
              "a_b_");                         // malformed
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "_");  // overlong '/'
}

}  // namespace
}  // namespace torvanik::testing
