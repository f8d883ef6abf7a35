#pragma once

#include <string_view>

// The string table: a command's status-bar prompt and, after a line feed, its tooltip.
// Texts are UTF-8; trailing blanks belong to them.
namespace torvanik {

// The whole string of `id`; empty when the table has none.
std::string_view LoadString(int id);

// The part before the line feed, and the part after it (empty when there is none).
std::string_view PromptOf(int id);
std::string_view TooltipOf(int id);

}  // namespace torvanik
