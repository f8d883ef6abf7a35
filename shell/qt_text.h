#pragma once

#include <QString>
#include <string_view>

#include "platform/cp1252.h"

namespace torvanik {

// The program's own Windows-1252 texts as the toolkit's Unicode.
inline QString QStringFromCp1252(std::string_view text) {
    return QString::fromStdString(Cp1252ToUtf8(text));
}

}  // namespace torvanik
