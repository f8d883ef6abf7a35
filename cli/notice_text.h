#pragma once

#include <string>

#include "engine/transfer_report.h"

namespace torvanik::cli {

// A notice as the notice box draws it, in UTF-8: one line of text per notice line, the
// number (if any) after the first line's text and two spaces, then an empty line.
std::string NoticeText(const Notice& notice);

}  // namespace torvanik::cli
