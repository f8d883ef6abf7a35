#include "platform/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/owned_fd.h"
#include "res/texts/reason_texts.h"

extern char** environ;

namespace torvanik {
namespace {

using Clock = std::chrono::steady_clock;

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

// Reads both pipes to their ends, or until `deadline`; false when the deadline came
// first. A child that fills one pipe while we wait on the other would otherwise block.
bool Drain(int outFd, int errFd, ChildOutput& run, Clock::time_point deadline) {
    std::array<pollfd, 2> fds{{{outFd, POLLIN, 0}, {errFd, POLLIN, 0}}};
    std::array<std::string*, 2> sinks{&run.output, &run.errors};
    int open = 2;
    std::array<char, 4096> buffer{};
    while (open > 0) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        const int ready =
            poll(fds.data(), fds.size(), static_cast<int>(std::max<long long>(left, 0)));
        if (ready == 0) {
            return false;
        }
        if (ready < 0) {
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
    return true;
}

// The child's wait status, waited for until `deadline`; ETIMEDOUT when it is still
// running then.
Result<int> ExitBy(pid_t pid, Clock::time_point deadline) {
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return status;
        }
        if (done < 0 && errno != EINTR) {
            return Why{.error = errno};
        }
        if (Clock::now() >= deadline) {
            return Why{.error = ETIMEDOUT};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// Kills the child and whatever it started (its process group), and collects it.
void Kill(pid_t pid) {
    kill(-pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

std::string NoAnswerLine(const std::string& program, std::chrono::milliseconds limit) {
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(limit).count();
    return program + std::string(child_reason::kNoAnswerWithin) + std::to_string(seconds) +
           std::string(child_reason::kSecondsAndStopped) + "\n";
}

// The child's standard output and error output: we read one end, it writes the other.
struct ChildPipes {
    OwnedFd outRead;
    OwnedFd outWrite;
    OwnedFd errRead;
    OwnedFd errWrite;
};

Result<ChildPipes> OpenPipes() {
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        return Why{.error = errno};
    }
    ChildPipes pipes;
    pipes.outRead = OwnedFd(out[0]);
    pipes.outWrite = OwnedFd(out[1]);
    if (pipe2(err, O_CLOEXEC) != 0) {
        return Why{.error = errno};
    }
    pipes.errRead = OwnedFd(err[0]);
    pipes.errWrite = OwnedFd(err[1]);
    return pipes;
}

// Starts `argv` in a process group of its own, so that at the time limit whatever it
// started goes with it. The spawn reports the error of the exec in the child: ENOENT when
// no folder of PATH holds the program.
Result<pid_t> Spawn(const std::vector<std::string>& argv,
                    const std::vector<std::string>& environment, const ChildPipes& pipes) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipes.outWrite.get(), 1);
    posix_spawn_file_actions_adddup2(&actions, pipes.errWrite.get(), 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);

    std::vector<std::string> args = argv;
    std::vector<std::string> env = MergedEnvironment(environment);
    auto argPointers = Pointers(args);
    auto envPointers = Pointers(env);
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, args.at(0).c_str(), &actions, &attributes,
                                     argPointers.data(), envPointers.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return Why{.error = spawned, .text = std::strerror(spawned)};
    }
    return pid;
}

}  // namespace

Result<ChildOutput> RunChild(const std::vector<std::string>& argv,
                             const std::vector<std::string>& environment,
                             std::chrono::milliseconds limit) {
    if (argv.empty()) {
        return Why{.error = EINVAL};
    }
    const Clock::time_point deadline = Clock::now() + limit;
    Result<ChildPipes> pipes = OpenPipes();
    if (!pipes) {
        return pipes.why();
    }
    const Result<pid_t> pid = Spawn(argv, environment, *pipes);
    pipes->outWrite = {};
    pipes->errWrite = {};
    if (!pid) {
        return pid.why();
    }
    ChildOutput run;
    const Result<int> status = Drain(pipes->outRead.get(), pipes->errRead.get(), run, deadline)
                                   ? ExitBy(*pid, deadline)
                                   : Why{.error = ETIMEDOUT};
    if (!status && status.why().error == ETIMEDOUT) {
        Kill(*pid);
        return Why{.error = ETIMEDOUT, .text = NoAnswerLine(argv[0], limit) + run.errors};
    }
    if (!status) {
        return Why{.error = status.why().error, .text = std::move(run.errors)};
    }
    run.status = WIFEXITED(*status) ? WEXITSTATUS(*status) : 128 + WTERMSIG(*status);
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
