#include "platform/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace torvanik {
namespace {

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& added) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        const auto name = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const auto& add : added) {
            replaced = replaced || add.compare(0, name.size(), name) == 0;
        }
        if (!replaced) {
            merged.emplace_back(text);
        }
    }
    merged.insert(merged.end(), added.begin(), added.end());
    return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Reads both pipes to their ends; a child that fills one while we wait on the other
// would otherwise block for ever.
void Drain(int outFd, int errFd, std::string& output, std::string& errors) {
    std::array<pollfd, 2> fds{{{outFd, POLLIN, 0}, {errFd, POLLIN, 0}}};
    std::array<std::string*, 2> sinks{&output, &errors};
    int open = 2;
    std::array<char, 4096> buffer{};
    while (open > 0) {
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            const ssize_t got = read(fds[i].fd, buffer.data(), buffer.size());
            if (got > 0) {
                sinks[i]->append(buffer.data(), static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

}  // namespace

ChildRun RunChild(const std::vector<std::string>& argv,
                  const std::vector<std::string>& environment) {
    ChildRun run;
    if (argv.empty()) {
        return run;
    }
    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0) {
        return run;
    }
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);

    std::vector<std::string> args = argv;
    std::vector<std::string> env = MergedEnvironment(environment);
    auto argPointers = Pointers(args);
    auto envPointers = Pointers(env);
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, args.at(0).c_str(), &actions, nullptr,
                                     argPointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    if (spawned == 0) {
        Drain(outPipe[0], errPipe[0], run.output, run.errors);
    } else {
        // The spawn reports the error of the exec in the child: ENOENT when no folder of
        // PATH holds the program.
        run.notInstalled = spawned == ENOENT;
        run.errors = std::strerror(spawned);
    }
    close(outPipe[0]);
    close(errPipe[0]);
    if (spawned != 0) {
        return run;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return run;
        }
    }
    if (WIFEXITED(status)) {
        run.exitCode = WEXITSTATUS(status);
    }
    return run;
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
