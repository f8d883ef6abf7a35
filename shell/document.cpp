#include "shell/document.h"

#include "res/dialog_ids.h"
#include "res/string_table.h"

namespace torvanik {

QString Document::Title() {
    const std::string_view text = LoadString(IDR_MAINFRAME);
    const std::string_view name = text.substr(text.find('\n') + 1);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace torvanik
