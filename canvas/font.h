#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Fonts by face, cell height and weight, rasterised once without anti-aliasing.
namespace torvanik {

// A horizontal run of set pixels, relative to the glyph's origin on the baseline.
struct GlyphRun {
    int dx;
    int dy;
    int length;
};

struct Glyph {
    int advance = 0;
    std::vector<GlyphRun> runs;
};

// The rasterised glyphs of one face at one size; shared by every Font asking for it.
struct GlyphSet {
    std::string family;  // the face fontconfig resolved the request to
    int height = 0;      // cell height: ascent + descent
    int ascent = 0;
    std::array<Glyph, 256> glyphs;  // by Windows-1252 byte
};

// A logical font, as selected into a canvas. It lives as long as someone holds it.
class Font {
  public:
    explicit Font(std::shared_ptr<const GlyphSet> glyphs) : glyphs_(std::move(glyphs)) {}

    const std::string& family() const { return glyphs_->family; }
    int height() const { return glyphs_->height; }
    int ascent() const { return glyphs_->ascent; }
    const Glyph& GlyphOf(unsigned char byte) const { return glyphs_->glyphs[byte]; }

  private:
    std::shared_ptr<const GlyphSet> glyphs_;
};

// The system font: a raster font with one size, a 16-pixel cell, whatever height is asked
// for. A new canvas starts with it.
inline constexpr std::string_view kSystemFontFace = "System";
inline constexpr int kSystemFontHeight = 16;
inline constexpr int kSystemFontWeight = 700;

// `height` is the cell height (ascent + descent, internal leading included); `weight` as
// in OpenType (400 regular, 600 semi-bold, 700 bold). None when no such font can be made.
std::shared_ptr<const Font> CreateFont(std::string_view face, int height, int weight);

}  // namespace torvanik
