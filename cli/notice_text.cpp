#include "cli/notice_text.h"

#include "platform/cp1252.h"
#include "screen/notice_lines.h"

namespace torvanik::cli {

std::string NoticeText(const Notice& notice) {
    std::string text;
    for (int i = 0; i < notice.lineCount; ++i) {
        const auto index = static_cast<std::size_t>(notice.firstLine + i);
        text += Cp1252ToUtf8(NoticeLines[index].text);
        if (i == 0 && notice.number >= 0) {
            text += "  " + std::to_string(notice.number);
        }
        text += '\n';
    }
    text += '\n';
    return text;
}

}  // namespace torvanik::cli
