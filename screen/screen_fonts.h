#pragma once

#include <string_view>

// The fonts of the painted screen, by face, cell height and weight.
namespace torvanik {

struct FontSpec {
    int height;
    int weight;
    std::string_view face;
};

inline constexpr FontSpec kScreenFont{20, 700, "Arial"};  // all of DrawScreen but the path
inline constexpr FontSpec kPathFont{10, 700, "System"};
inline constexpr FontSpec kHelpFont{16, 600, "Arial"};
inline constexpr FontSpec kBoxFont{20, 700, "Arial"};  // notices and panel texts

}  // namespace torvanik
