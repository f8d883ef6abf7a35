#include "platform/process_identity.h"

#include <signal.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>

namespace torvanik {

Result<std::uint64_t> ProcessStartTime(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return Why{.error = ENOENT};
    }
    // The command name in parentheses may hold spaces and ')'; field 3 follows the last ')'.
    const auto nameEnd = line.rfind(')');
    if (nameEnd == std::string::npos) {
        return Why{.error = EINVAL};
    }
    std::istringstream fields(line.substr(nameEnd + 1));
    std::string skipped;
    for (int field = 3; field < 22; ++field) {
        fields >> skipped;
    }
    std::uint64_t start = 0;
    if (!(fields >> start)) {
        return Why{.error = EINVAL};
    }
    return start;
}

bool ProcessStillRuns(pid_t pid, std::uint64_t startTime) {
    if (pid <= 0 || (kill(pid, 0) != 0 && errno == ESRCH)) {
        return false;
    }
    if (startTime == 0) {
        return true;
    }
    const auto start = ProcessStartTime(pid);
    return !start || *start == startTime;
}

}  // namespace torvanik
