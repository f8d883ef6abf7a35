#include "cli/terminal_shape.h"

#include <sys/ioctl.h>

#include <charconv>
#include <cstdlib>
#include <string_view>

namespace torvanik::cli {
namespace {

int ColumnsOf(std::FILE* stream) {
    const int fd = fileno(stream);
    winsize size{};
    if (fd >= 0 && ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    const char* variable = std::getenv("COLUMNS");
    const std::string_view text = variable != nullptr ? variable : "";
    int columns = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), columns);
    if (error == std::errc() && end == text.data() + text.size() && columns > 0) {
        return columns;
    }
    return TerminalShape{}.columns;
}

}  // namespace

TerminalShape ShapeOf(std::FILE* stream) {
    const char* term = std::getenv("TERM");
    const bool dumb = term == nullptr || *term == '\0' || std::string_view(term) == "dumb";
    return {ColumnsOf(stream), !dumb};
}

}  // namespace torvanik::cli
