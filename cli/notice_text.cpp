#include "cli/notice_text.h"

#include "res/texts/painted_texts.h"

namespace torvanik::cli {

std::string NoticeText(const Notice& notice) {
    std::string text;
    for (int i = 0; i < notice.lineCount; ++i) {
        const auto index = static_cast<std::size_t>(notice.firstLine + i);
        text += kNoticeTexts[index];
        if (i == 0 && notice.number >= 0) {
            text += "  " + std::to_string(notice.number);
        }
        text += '\n';
    }
    text += '\n';
    return text;
}

}  // namespace torvanik::cli
