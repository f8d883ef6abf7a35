#pragma once

#include <string>
#include <string_view>

namespace torvanik {

// Replaces the file at `path` with `bytes`, whole or not at all, even across a power cut:
// written under a temporary name beside it, flushed, and renamed over it (never through a
// link). A cut right after may leave the file before it, never a mix. The folder is made
// when missing. False when it failed.
bool ReplaceFileWhole(const std::string& path, std::string_view bytes);

}  // namespace torvanik
