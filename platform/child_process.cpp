#include "platform/child_process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace torvanik {

bool RunQuietly(const std::vector<std::string>& command) {
    if (command.empty()) {
        return false;
    }
    std::vector<char*> argv;
    for (const std::string& word : command) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) {
        return false;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool OnPath(std::string_view program) {
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "";
    while (!folders.empty()) {
        const auto colon = folders.find(':');
        std::string candidate(folders.substr(0, colon));
        candidate += '/';
        candidate += program;
        if (access(candidate.c_str(), X_OK) == 0) {
            return true;
        }
        folders = colon == std::string_view::npos ? std::string_view{} : folders.substr(colon + 1);
    }
    return false;
}

}  // namespace torvanik
