#include "canvas/font.h"

#include <map>
#include <mutex>
#include <tuple>

#include "canvas/font_rasterizer.h"

namespace torvanik {

std::shared_ptr<const Font> CreateFont(std::string_view face, int height, int weight) {
    // Rasterising a face takes milliseconds and the screen asks for the same few fonts on
    // every repaint, so each request is rendered once per process (failures too).
    using Key = std::tuple<std::string, int, int>;
    static std::mutex mutex;
    static std::map<Key, std::shared_ptr<const GlyphSet>> rendered;

    if (face == kSystemFontFace) {
        height = kSystemFontHeight;
    }
    Key key{std::string(face), height, weight};
    std::shared_ptr<const GlyphSet> glyphs;
    {
        const std::lock_guard lock(mutex);
        auto found = rendered.find(key);
        if (found == rendered.end()) {
            found = rendered.emplace(key, RasterizeFont(std::get<0>(key), height, weight)).first;
        }
        glyphs = found->second;
    }
    if (!glyphs) {
        return nullptr;
    }
    return std::make_shared<const Font>(std::move(glyphs));
}

}  // namespace torvanik
