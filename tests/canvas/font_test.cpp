#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "canvas/font.h"

namespace torvanik {
namespace {

// Rows of a glyph's set pixels, relative to the top of its cell.
std::pair<int, int> RowSpan(const Font& font, unsigned char byte) {
    int top = font.height();
    int bottom = -1;
    for (const GlyphRun& run : font.GlyphOf(byte).runs) {
        top = std::min(top, font.ascent() + run.dy);
        bottom = std::max(bottom, font.ascent() + run.dy);
    }
    return {top, bottom};
}

std::set<std::tuple<int, int, int>> Shape(const Glyph& glyph) {
    std::set<std::tuple<int, int, int>> shape;
    for (const GlyphRun& run : glyph.runs) {
        shape.insert({run.dx, run.dy, run.length});
    }
    return shape;
}

TEST(FontTest, ArialIsLiberationSans) {
    const auto font = CreateFont("Arial", 20, 700);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->family(), "Liberation Sans");
}

TEST(FontTest, TheCellIsTheHeightAskedFor) {
    for (const auto& [face, height] :
         {std::pair{"Arial", 10}, std::pair{"Arial", 16}, std::pair{"Arial", 20},
          std::pair{"Arial", 48}, std::pair{"System", 16}}) {
        SCOPED_TRACE(std::string(face) + " " + std::to_string(height));
        const auto font = CreateFont(face, height, 700);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->height(), height);
        EXPECT_GT(font->ascent(), height / 2);
        // Capitals, the small Norwegian letters and the descenders lie inside the cell.
        for (const unsigned char byte : {'H', 'g', 'p', '\xE5', '\xE9', '\xF8'}) {
            const auto [top, bottom] = RowSpan(*font, byte);
            EXPECT_GE(top, 0) << byte;
            EXPECT_LT(bottom, height) << byte;
        }
    }
}

// The path strip asks for height 10 and gets the one size there is, readable.
TEST(FontTest, SystemHasOneSizeWhateverHeightIsAskedFor) {
    const auto asked = CreateFont("System", 10, 700);
    const auto own = CreateFont("System", kSystemFontHeight, 700);
    ASSERT_NE(asked, nullptr);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(asked->height(), kSystemFontHeight);
    EXPECT_EQ(Shape(asked->GlyphOf('H')), Shape(own->GlyphOf('H')));
    const auto [top, bottom] = RowSpan(*asked, 'H');
    EXPECT_GE(bottom - top + 1, 9);
}

TEST(FontTest, NorwegianLettersHaveTheirOwnGlyphs) {
    const auto font = CreateFont("Arial", 20, 700);
    ASSERT_NE(font, nullptr);
    for (const auto& [plain, accented] :
         {std::pair{'o', '\xF8'}, std::pair{'a', '\xE5'}, std::pair{'e', '\xE9'}}) {
        const Glyph& letter = font->GlyphOf(static_cast<unsigned char>(accented));
        EXPECT_FALSE(letter.runs.empty());
        EXPECT_NE(Shape(letter), Shape(font->GlyphOf(static_cast<unsigned char>(plain))));
    }
    // 0x80 is the euro sign in Windows-1252, not a control character.
    EXPECT_FALSE(font->GlyphOf(0x80).runs.empty());
}

TEST(FontTest, BoldIsHeavierThanRegular) {
    const auto regular = CreateFont("Arial", 20, 400);
    const auto bold = CreateFont("Arial", 20, 700);
    ASSERT_NE(regular, nullptr);
    ASSERT_NE(bold, nullptr);
    const auto ink = [](const Font& font) {
        int pixels = 0;
        for (const GlyphRun& run : font.GlyphOf('M').runs) {
            pixels += run.length;
        }
        return pixels;
    };
    EXPECT_GT(ink(*bold), ink(*regular));
}

TEST(FontTest, NoFontForACellOfNoHeight) {
    EXPECT_EQ(CreateFont("Arial", 0, 700), nullptr);
    EXPECT_EQ(CreateFont("Arial", -20, 700), nullptr);
}

}  // namespace
}  // namespace torvanik
