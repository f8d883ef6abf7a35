#include "engine/reasons.h"

#include <string>

#include "platform/why_of_error.h"
#include "res/texts/reason_texts.h"

namespace torvanik {

Why DiskWhy(Reason reason, int disk) {
    std::string text(ReasonText(reason));
    const auto at = text.find("%d");
    if (at != std::string::npos) {
        text.replace(at, 2, std::to_string(disk));
    }
    return {reason, 0, text};
}

std::string ReasonLine(const Why& why) {
    std::string line = why.text.empty() ? std::string(ReasonText(why.reason)) : why.text;
    if (why.error != 0) {
        line += ": ";
        line += SystemTextOf(why.error);
    }
    return line;
}

}  // namespace torvanik
