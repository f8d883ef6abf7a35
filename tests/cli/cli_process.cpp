#include "cli_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iterator>

extern char** environ;

namespace torvanik::testing {
namespace {

constexpr int kMinuteMs = 60'000;

std::string NameOf(std::string_view entry) {
    return std::string(entry.substr(0, entry.find('=')));
}

std::vector<std::string> ChildEnvironment(const std::string& configHome,
                                          const std::vector<std::string>& changes) {
    std::vector<std::string> wanted = changes;
    wanted.push_back("XDG_CONFIG_HOME=" + configHome);
    wanted.push_back("XDG_STATE_HOME=" + configHome + "/state");
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string name = NameOf(*entry);
        if (std::none_of(wanted.begin(), wanted.end(),
                         [&](const std::string& change) { return NameOf(change) == name; })) {
            env.emplace_back(*entry);
        }
    }
    std::copy_if(wanted.begin(), wanted.end(), std::back_inserter(env),
                 [](const std::string& change) { return change.find('=') != std::string::npos; });
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Appends what `fd` has to `to`; closes it and sets it to -1 at its end.
void Drain(int& fd, std::string& to) {
    char buffer[65536];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got > 0) {
        to.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
        // A terminal whose other side has closed says EIO instead of end of file.
        close(fd);
        fd = -1;
    }
}

}  // namespace

CliProcess::CliProcess(const std::vector<std::string>& arguments, const std::string& configHome,
                       const CliStart& start) {
    signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> argv{TORVANIK_CLI_PATH};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<std::string> env = ChildEnvironment(configHome, start.environment);
    const auto argPointers = Pointers(argv);
    const auto envPointers = Pointers(env);

    int inPipe[2];
    int outPipe[2];
    int errPair[2];
    if (pipe(inPipe) != 0 || pipe(outPipe) != 0) {
        std::abort();
    }
    if (!start.stdoutPath.empty()) {
        const int file = open(start.stdoutPath.c_str(), O_WRONLY | O_CLOEXEC);
        if (file < 0 || dup2(file, outPipe[1]) < 0) {
            std::abort();
        }
        close(file);
    }
    winsize size{};
    size.ws_col = start.terminalColumns;
    size.ws_row = 24;
    if (start.stderrOnTerminal ? openpty(&errPair[0], &errPair[1], nullptr, nullptr, &size) != 0
                               : pipe(errPair) != 0) {
        std::abort();
    }
    pid_ = fork();
    if (pid_ == 0) {
        dup2(inPipe[0], 0);
        dup2(outPipe[1], 1);
        dup2(errPair[1], 2);
        for (int fd : {inPipe[0], inPipe[1], outPipe[0], outPipe[1], errPair[0], errPair[1]}) {
            close(fd);
        }
        execve(argPointers[0], argPointers.data(), envPointers.data());
        _exit(127);
    }
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPair[1]);
    in_ = inPipe[1];
    outFd_ = outPipe[0];
    errFd_ = errPair[0];
}

void CliProcess::Signal(int signal) const {
    kill(pid_, signal);
}

CliProcess::~CliProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    for (int fd : {in_, outFd_, errFd_}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

bool CliProcess::Pump(int timeoutMs) {
    pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
    if (outFd_ < 0 && errFd_ < 0) {
        return false;
    }
    if (poll(fds, 2, timeoutMs) <= 0) {
        return true;
    }
    if (fds[0].revents != 0) {
        Drain(outFd_, out_);
    }
    if (fds[1].revents != 0) {
        Drain(errFd_, err_);
    }
    return true;
}

std::optional<std::string> CliProcess::ReadUntil(std::string_view marker) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kMinuteMs);
    while (true) {
        const auto at = out_.find(marker, taken_);
        if (at != std::string::npos) {
            std::string segment = out_.substr(taken_, at + marker.size() - taken_);
            taken_ = at + marker.size();
            return segment;
        }
        if (outFd_ < 0 || std::chrono::steady_clock::now() > deadline || !Pump(kMinuteMs)) {
            return std::nullopt;
        }
    }
}

void CliProcess::SendLine(std::string_view line) {
    const std::string text = std::string(line) + "\n";
    if (write(in_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        CloseInput();
    }
}

void CliProcess::CloseOutput() {
    if (outFd_ >= 0) {
        close(outFd_);
        outFd_ = -1;
    }
}

void CliProcess::CloseInput() {
    if (in_ >= 0) {
        close(in_);
        in_ = -1;
    }
}

int CliProcess::Wait() {
    CloseInput();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kMinuteMs);
    while (Pump(kMinuteMs) && std::chrono::steady_clock::now() < deadline) {
    }
    int status = 0;
    if (outFd_ >= 0 || errFd_ >= 0) {
        kill(pid_, SIGKILL);
    }
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace torvanik::testing
