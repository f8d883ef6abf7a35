#pragma once

#include <memory>
#include <string>

#include "canvas/font.h"

namespace torvanik {

// Resolves `face` through fontconfig and renders all 256 Windows-1252 characters with
// FreeType in monochrome. None when fontconfig finds no scalable face or FreeType fails.
// Not reentrant: callers serialise.
std::shared_ptr<const GlyphSet> RasterizeFont(const std::string& face, int height, int weight);

}  // namespace torvanik
