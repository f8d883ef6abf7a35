#include "cli/klar_prompt.h"

#include <string>

#include "res/texts/terminal_texts.h"

namespace torvanik::cli {

bool AwaitKlar(std::istream& in, std::FILE* out) {
    std::fwrite(kKlarPrompt.data(), 1, kKlarPrompt.size(), out);
    std::fflush(out);
    std::string line;
    if (!std::getline(in, line)) {
        // Nothing echoed a line end: leave the terminal on a fresh line.
        std::fputc('\n', out);
        std::fflush(out);
        return false;
    }
    return !IsStopAnswer(line);
}

bool IsStopAnswer(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line == kStopAnswer;
}

}  // namespace torvanik::cli
