#include "cli/klar_prompt.h"

#include <string>

#include "res/texts/terminal_texts.h"

namespace torvanik::cli {

KlarAnswer AwaitKlar(std::istream& in, std::FILE* out) {
    std::fwrite(kKlarPrompt.data(), 1, kKlarPrompt.size(), out);
    std::fflush(out);
    std::string line;
    if (!std::getline(in, line)) {
        // Nothing echoed a line end: leave the terminal on a fresh line.
        std::fputc('\n', out);
        std::fflush(out);
        return KlarAnswer::kStop;
    }
    return AnswerOf(line);
}

KlarAnswer AnswerOf(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (line == kStopAnswer) {
        return KlarAnswer::kStop;
    }
    return line == kSkipAnswer ? KlarAnswer::kSkip : KlarAnswer::kReady;
}

}  // namespace torvanik::cli
