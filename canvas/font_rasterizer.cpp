#include "canvas/font_rasterizer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_DRIVER_H
#include FT_FREETYPE_H
#include FT_MODULE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <optional>

#include "platform/cp1252.h"

namespace torvanik {
namespace {

// FreeType and fontconfig, set up once for the whole process.
class FontLibraries {
  public:
    FontLibraries() {
        if (FT_Init_FreeType(&freetype_) != 0) {
            freetype_ = nullptr;
        } else {
            // The faces' own hinting instructions in full, as bi-level text is hinted.
            FT_UInt version = 35;
            FT_Property_Set(freetype_, "truetype", "interpreter-version", &version);
        }
        config_ = FcInitLoadConfigAndFonts();
    }
    ~FontLibraries() {
        if (config_ != nullptr) {
            FcConfigDestroy(config_);
        }
        if (freetype_ != nullptr) {
            FT_Done_FreeType(freetype_);
        }
    }
    FontLibraries(const FontLibraries&) = delete;
    FontLibraries& operator=(const FontLibraries&) = delete;

    FT_Library freetype() const { return freetype_; }
    FcConfig* config() const { return config_; }

  private:
    FT_Library freetype_ = nullptr;
    FcConfig* config_ = nullptr;
};

FontLibraries& Libraries() {
    static FontLibraries libraries;
    return libraries;
}

struct FaceFile {
    std::string path;
    int index = 0;
    std::string family;
    bool embolden = false;  // the face lacks the weight asked for: thicken its strokes
};

std::optional<FaceFile> MatchFace(FcConfig* config, const std::string& face, int weight) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) {
        return std::nullopt;
    }
    std::optional<FaceFile> found;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        found.emplace();
        found->path = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &found->index);
        FcChar8* family = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch) {
            found->family = reinterpret_cast<const char*>(family);
        }
        FcBool embolden = FcFalse;
        FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
        found->embolden = embolden == FcTrue;
    }
    FcPatternDestroy(match);
    return found;
}

// The face's cell above and below the baseline in font units: the Windows metrics where
// the face has them, as those define a cell height.
struct CellUnits {
    long ascent;
    long descent;
};

CellUnits CellOf(FT_Face face) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
        return {os2->usWinAscent, os2->usWinDescent};
    }
    if (face->ascender - face->descender > 0) {
        return {face->ascender, -face->descender};
    }
    return {face->units_per_EM, 0};
}

std::vector<GlyphRun> RunsOf(const FT_Bitmap& bitmap, int left, int top) {
    std::vector<GlyphRun> runs;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const unsigned char* bits = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
        const int dy = static_cast<int>(row) - top;
        unsigned column = 0;
        while (column < bitmap.width) {
            const auto set = [&](unsigned c) { return (bits[c >> 3] & (0x80 >> (c & 7))) != 0; };
            if (!set(column)) {
                ++column;
                continue;
            }
            const unsigned start = column;
            while (column < bitmap.width && set(column)) {
                ++column;
            }
            runs.push_back({left + static_cast<int>(start), dy, static_cast<int>(column - start)});
        }
    }
    return runs;
}

bool RenderGlyph(FT_Face face, char32_t codePoint, bool embolden, Glyph& glyph) {
    const FT_UInt index = FT_Get_Char_Index(face, codePoint);
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO) != 0) {
        return false;
    }
    if (embolden) {
        FT_GlyphSlot_Embolden(face->glyph);
    }
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0) {
        return false;
    }
    const FT_GlyphSlot slot = face->glyph;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
        glyph.runs = RunsOf(slot->bitmap, slot->bitmap_left, slot->bitmap_top);
    }
    return true;
}

long CeilDiv(long numerator, long denominator) {
    return (numerator + denominator - 1) / denominator;
}

// The cell of a size: ascent and descent in whole pixels, each rounded up.
long CellPixels(const CellUnits& cell, long unitsPerEm, long pixelsPerEm) {
    return CeilDiv(cell.ascent * pixelsPerEm, unitsPerEm) +
           CeilDiv(cell.descent * pixelsPerEm, unitsPerEm);
}

std::shared_ptr<const GlyphSet> RenderFace(FT_Face face, const FaceFile& file, int height) {
    const CellUnits cell = CellOf(face);
    const long unitsPerEm = face->units_per_EM;
    // The largest size whose cell fits in `height` pixels, as a positive height asks a
    // font for its cell, not its em.
    long pixelsPerEm = height * unitsPerEm / (cell.ascent + cell.descent) + 1;
    while (pixelsPerEm > 1 && CellPixels(cell, unitsPerEm, pixelsPerEm) > height) {
        --pixelsPerEm;
    }
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelsPerEm)) != 0) {
        return nullptr;
    }
    auto glyphs = std::make_shared<GlyphSet>();
    glyphs->family = file.family;
    glyphs->height = height;
    glyphs->ascent = static_cast<int>(CeilDiv(cell.ascent * pixelsPerEm, unitsPerEm));
    for (int byte = 0; byte < 256; ++byte) {
        const char32_t codePoint = Cp1252ToUnicode(static_cast<unsigned char>(byte));
        if (!RenderGlyph(face, codePoint, file.embolden, glyphs->glyphs[byte])) {
            return nullptr;
        }
    }
    return glyphs;
}

}  // namespace

std::shared_ptr<const GlyphSet> RasterizeFont(const std::string& face, int height, int weight) {
    FontLibraries& libraries = Libraries();
    if (height <= 0 || libraries.freetype() == nullptr || libraries.config() == nullptr) {
        return nullptr;
    }
    const std::optional<FaceFile> file = MatchFace(libraries.config(), face, weight);
    if (!file) {
        return nullptr;
    }
    FT_Face ftFace = nullptr;
    if (FT_New_Face(libraries.freetype(), file->path.c_str(), file->index, &ftFace) != 0) {
        return nullptr;
    }
    std::shared_ptr<const GlyphSet> glyphs;
    if (FT_IS_SCALABLE(ftFace)) {
        glyphs = RenderFace(ftFace, *file, height);
    }
    FT_Done_Face(ftFace);
    return glyphs;
}

}  // namespace torvanik
