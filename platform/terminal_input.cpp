#include "platform/terminal_input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/why_of_error.h"

namespace torvanik {

Result<std::string> TakeTypedInput(int timeoutMs) {
    pollfd in{STDIN_FILENO, POLLIN, 0};
    if (poll(&in, 1, timeoutMs) <= 0) {
        return std::string();
    }
    char buffer[256];
    const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) {
        return std::string();
    }
    if (got < 0) {
        return SystemFailure();
    }
    if (got == 0) {
        return Why{};
    }
    return std::string(buffer, static_cast<std::size_t>(got));
}

void PauseFor(int timeoutMs) {
    poll(nullptr, 0, timeoutMs);
}

}  // namespace torvanik
