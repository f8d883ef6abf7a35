#include "engine/reasons.h"

#include <string>

#include "platform/why_of_error.h"
#include "res/texts/reason_texts.h"

namespace torvanik {

Why DiskWhy(Reason reason, int disk) {
    return NumbersWhy(reason, {disk});
}

Why NumbersWhy(Reason reason, std::initializer_list<int> numbers) {
    std::string text(ReasonText(reason));
    std::size_t from = 0;
    for (const int number : numbers) {
        const auto at = text.find("%d", from);
        if (at == std::string::npos) {
            break;
        }
        const std::string filled = std::to_string(number);
        text.replace(at, 2, filled);
        from = at + filled.size();
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
