#pragma once

#include <string>
#include <string_view>

namespace torvanik::cli {

// `format` with its "%s" replaced by `argument`.
inline std::string Fill(std::string_view format, std::string_view argument) {
    std::string text(format);
    const auto at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, argument);
    }
    return text;
}

}  // namespace torvanik::cli
